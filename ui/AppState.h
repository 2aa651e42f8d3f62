#pragma once
// The process-wide values that every window of the monitor shares. One instance lives for the
// whole run and is reached only from the GUI thread.

#include <QString>

struct AppState {
    QString settingsFolder;   // where the settings files live (SettingsFolder decides)

    bool FormsReady = false;  // every window exists; the board may query and refresh
    bool AtDesignSize = false;// windows were created at their design size and may be rescaled
    bool WideScreen = false;  // the screen is wider than 4:3
    int PageFirst = 1;        // first order shown on the board
    bool HotExpanded = false;
    int HotNormalHeight = 0;
    bool MinLimitOn = false;
    double MinLimit = 0;
    bool RestartNeeded = false; // ending to start again: settings saved, or no database at start
};
