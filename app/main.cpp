// The kitchen order monitor.

#include "AppState.h"
#include "Clock.h"
#include "Database.h"
#include "DisplayMode.h"
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

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    Log::setUp();
    // The journal's export needs no display.
    if (const int status = JournalExport::run(argc, argv, [] { return SettingsFolder::forThisProgram(); }); status >= 0)
        return status;
    QApplication app(argc, argv);
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
    Database::startClient();
    quitOnTerminationSignals();
    // A signal and the closing of the board end the event loop alike; the windows are gone when
    // it returns, and the database client ends before its library is unloaded.
    const int status = runProgram(state, Platform{dialogs, display, player, speaker, clock, idle});
    if (!Database::shutdownClient()) {
        // An attach to a silent server is still inside the client: end without unloading it.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
