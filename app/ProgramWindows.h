#pragma once
// Program start: the windows created once, in their fixed order, each running its own creation
// step, and then the board marked ready; the statistics window waits for its first opening.

#include "Forms.h"
#include "Journal.h"

#include <QString>
#include <functional>
#include <memory>

struct AppState;
class Dialogs;
class DisplayMode;
class SoundPlayer;
class SpeakerTone;
class Clock;
class ServerClock;
class IdleClock;
class ScreenKeeper;
class Settings;
class Form_Stat;

// The machine underneath the windows.
struct Platform {
    Dialogs& dialogs;
    DisplayMode& display;
    SoundPlayer& player;
    SpeakerTone& speaker;
    const Clock& clock;
    IdleClock& idle;
    ScreenKeeper& screen;
};

class ProgramWindows {
public:
    // onCreated, when given, hears each window's name as soon as its creation step has run.
    ProgramWindows(AppState& state, Platform platform,
                   const std::function<void(const QString&)>& onCreated = {});
    ~ProgramWindows();

    const Forms& forms() const { return m_forms; }
    // The monitor's own record, opened with the windows and handed to those that write or read it.
    Journal& journal() { return m_journal; }
    // The settings read at start, which the windows read and the settings window writes.
    Settings& settings() { return *m_settings; }

private:
    Journal m_journal; // outlives the windows
    std::unique_ptr<Settings> m_settings; // outlives the windows too
    Forms m_forms;
    std::unique_ptr<ServerClock> m_serverClock; // outlives the windows that read it
    std::unique_ptr<Form_Main> m_main; // every other window belongs to the board
    Form_Stat* m_statistics = nullptr; // made at its first opening, the board's too
};

// The exit status that asks whoever supervises the program to start it again (EX_TEMPFAIL):
// a settings window saved, or the database could not be opened at start.
constexpr int RestartExitStatus = 75;

// Creates the windows and runs the event loop until the board is closed; the exit status.
int runProgram(AppState& state, Platform platform);
