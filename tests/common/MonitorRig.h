#pragma once
// One monitor on a test database: the program's own windows on the tests' fake machine, with its
// settings files in a folder of its own that names the database.

#include "AppState.h"
#include "FakeMachine.h"
#include "Form_Base.h"
#include "Form_Main.h"
#include "PollingCycle.h"
#include "ProgramWindows.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

struct MonitorRig {
    // prepare, when given, writes more settings files before the windows are created.
    explicit MonitorRig(const QByteArray& database, const std::function<void(const QString& folder)>& prepare = {})
    {
        state.settingsFolder = dir.path();
        writeNetFile(dir.path(), database);
        if (prepare)
            prepare(dir.path());
        windows = std::make_unique<ProgramWindows>(state, machine.platform());
    }
    const Forms& forms() const { return windows->forms(); }
    Form_Base& base() const { return *forms().Base; }
    Form_Main& main() const { return *forms().Main; }
    PollingCycle& polling() const { return *forms().Polling; }
    // The search through every shift that a first poll starts runs on its own thread: waits for
    // it, then runs the poll that takes what it found.
    void searchTaken() const
    {
        QTRY_VERIFY_WITH_TIMEOUT(!polling().searching(), 20000);
        polling().onTimer();
    }

    QTemporaryDir dir;
    AppState state;
    FakeMachine machine;
    std::unique_ptr<ProgramWindows> windows;
};
