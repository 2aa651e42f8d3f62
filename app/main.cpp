// The kitchen order monitor.

#include "AppState.h"
#include "Clock.h"
#include "CommandLine.h"
#include "Database.h"
#include "DesktopScreenKeeper.h"
#include "DisplayMode.h"
#include "GraphicalSession.h"
#include "InstanceLock.h"
#include "ProgramWindows.h"
#include "QtDialogs.h"
#ifdef Q_OS_WIN
#include "MciSoundPlayer.h"
#include "WinIdleClock.h"
#else
#include "InputIdleClock.h"
#include "QtSoundPlayer.h"
#endif
#include "JournalExport.h"
#include "Log.h"
#include "QtSpeakerTone.h"
#include "QuitOnSignal.h"
#include "SettingsFolder.h"
#include "SettingsTransfer.h"
#include "StatusReport.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <optional>
#include <cstdio>
#include <cstdlib>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
#ifdef Q_OS_UNIX
    // Every file the monitor makes (settings, journal, lock, status, exports) is its user's alone:
    // the journal names waiters and dishes, psw.txt holds the database's password.
    ::umask(077);
    // The C library looks at /etc/localtime again at every conversion to local time while TZ
    // is not set (a dozen a poll, each a path lookup); set to that same file, it reads it once.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
    Log::setUp();
    QCoreApplication::setApplicationVersion(QStringLiteral(MONITOR_VERSION));
    {
        // What the command line asks for is done in the console, without a display.
        QCoreApplication console(argc, argv);
        QtDialogs::installTranslations(QLocale(QLocale::Russian, QLocale::Russia));
        CommandLine line;
        line.addConsoleAction({u"export-journal"_s,
                               u"Вывести в CSV события журнала за день ГГГГ-ММ-ДД или за дни "
                               "от него до второй даты после него. Дисплей не нужен."_s,
                               u"ГГГГ-ММ-ДД"_s},
                              [](const QStringList& dates) {
                                  return JournalExport::run(dates, [] { return SettingsFolder::forThisProgram(); });
                              });
        line.addConsoleAction({u"status"_s,
                               u"Состояние монитора этой папки настроек: работает ли, последний опрос и его "
                               "итог, цеха, последнее оповещение, звук, размер журнала. Код выхода 0, если "
                               "опрос прошёл успешно за последние СЕКУНДЫ (по умолчанию 60); 1 - опрос с "
                               "ошибкой, 2 - опроса не было (завис), 3 - не запущен. Дисплей не нужен."_s},
                              [](const QStringList& arguments) {
                                  return StatusReport::run(arguments, SettingsFolder::forThisProgram());
                              });
        line.addConsoleAction({u"export-settings"_s,
                               u"Записать все файлы настроек и раскладку клавиш в один ФАЙЛ для другого "
                               "компьютера кухни; файл пароля только с --with-password. Дисплей не нужен."_s,
                               u"ФАЙЛ"_s},
                              [&line](const QStringList& arguments) {
                                  return SettingsTransfer::exportTo(arguments, SettingsFolder::forThisProgram(),
                                                                    line.isSet(u"with-password"_s));
                              });
        line.addModifier({u"with-password"_s, u"С --export-settings: вместе с файлом пароля psw.txt."_s});
        line.addConsoleAction({u"import-settings"_s,
                               u"Взять настройки из ФАЙЛА, записанного --export-settings; файл, который не "
                               "читается целиком, не меняет ничего. Действуют со следующего запуска."_s,
                               u"ФАЙЛ"_s},
                              [](const QStringList& arguments) {
                                  return SettingsTransfer::importFrom(arguments, SettingsFolder::forThisProgram());
                              });
        if (const std::optional<int> status = line.handle(QCoreApplication::arguments()))
            return *status;
    }
    if (!GraphicalSession::available()) {
        std::fprintf(stderr, "%s\n", CommandLine::noDisplayMessage().toLocal8Bit().constData());
        return CommandLine::NoDisplayStatus;
    }
    QApplication app(argc, argv);
    GraphicalSession::letGo();
    // One look on every desktop, close to the design the layouts were drawn for.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The program's title, seen on its message boxes.
    QApplication::setApplicationName(QStringLiteral("Монитор кухни"));
    // The desktop finds the menu entry's name and icon for the window by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("kitchen-monitor"));
    // The kitchen reads numbers and times the Russian way, whatever the machine's own locale.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // Qt's own file dialog and box buttons speak it too.
    QtDialogs::installTranslations(QLocale());

    AppState state;
    // Beside the executable, wherever it was started from, unless it was installed there.
    state.settingsFolder = SettingsFolder::forThisProgram();
    InstanceLock lock(state.settingsFolder);
    if (const std::optional<int> status = lock.endOfStart(state.settingsFolder))
        return *status;

    QtDialogs dialogs;
    SystemDisplayMode display;
#ifdef Q_OS_WIN
    MciSoundPlayer player;
    WinIdleClock idle;
#else
    QtSoundPlayer player;
    InputIdleClock idle;
#endif
    QtSpeakerTone speaker;
    SystemClock clock;
    DesktopScreenKeeper screen;
    Database::startClient();
    quitOnTerminationSignals();
    // A signal and the closing of the board end the event loop alike; the windows are gone when
    // it returns, and the database client ends before its library is unloaded.
    const int status = runProgram(state, Platform{dialogs, display, player, speaker, clock, idle, screen});
    if (!Database::shutdownClient()) {
        // An attach to a silent server is still inside the client: end without unloading it.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
