#include "QuitOnSignal.h"

#include <QApplication>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    char byte = 1;
    // Only async-signal-safe work here: the event loop does the rest.
    [[maybe_unused]] ssize_t written = ::write(signalPipe[0], &byte, 1);
}

void listen()
{
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte;
        [[maybe_unused]] ssize_t read = ::read(signalPipe[1], &byte, 1);
        // Modal windows run loops of their own, also before the main loop has started, and one
        // may open after another: keep closing whatever is open until the program has ended.
        auto* closer = new QTimer(QCoreApplication::instance());
        QObject::connect(closer, &QTimer::timeout, [] {
            QApplication::closeAllWindows();
            QCoreApplication::quit();
        });
        closer->start(50);
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
}
}

void quitOnTerminationSignals()
{
    if (signalPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
            return;
        listen();
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}
#else
void quitOnTerminationSignals() {}
#endif
