// What one polling cycle costs on the demo shift with a full page of orders: milliseconds and
// requests put to the server. A measurement to read, not a test with a limit.
//
//   build/tests/alerts/bench_polling_cycle [cycles]

#include "AppState.h"
#include "FakeMachine.h"
#include "Form_Base.h"
#include "Form_Main.h"
#include "PollingCycle.h"
#include "ProgramWindows.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    TestDatabase db(true);
    if (!db.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(db.error()));
        return 1;
    }
    QTemporaryDir dir;
    AppState state;
    state.settingsFolder = dir.path();
    writeNetFile(dir.path(), db.name());
    QFile sections(dir.filePath(QStringLiteral("Section.txt")));
    if (!sections.open(QIODevice::WriteOnly) || sections.write("1\r\n2\r\n3\r\n4\r\n5\r\n") <= 0)
        return 1;
    sections.close();
    FakeMachine machine;
    FakeDialogs& dialogs = machine.dialogs;
    ProgramWindows windows(state, machine.platform());
    Form_Main& main = *windows.forms().Main;
    Form_Base& base = *windows.forms().Base;
    main.show();

    windows.forms().Polling->onTimer(); // the first run marks the demo's new lines
    QList<double> times;
    int requests = 0;
    for (int i = 0; i < cycles; ++i) {
        const int before = base.MyDB.requestCount();
        QElapsedTimer t;
        t.start();
        windows.forms().Polling->onTimer();
        QCoreApplication::processEvents(); // the repaint of the refreshed grids
        times << double(t.nsecsElapsed()) / 1e6;
        requests = base.MyDB.requestCount() - before;
    }
    std::sort(times.begin(), times.end());
    int panels = 0;
    for (QTableView* grid : main.panelGrids())
        panels += grid->isVisibleTo(&main) ? 1 : 0;
    std::printf("polling cycle on the demo shift: %d orders listed, %d panels filled, %d hot dishes\n",
                base.QZakaz.recordCount(), panels, base.QHot.recordCount());
    std::printf("  %d cycles: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n", cycles, times[times.size() / 2],
                times.front(), times.back());
    std::printf("  requests to the server per cycle: %d\n", requests);
    std::printf("  messages shown: %lld\n", qlonglong(dialogs.messages.size()));
    return dialogs.messages.isEmpty() ? 0 : 1;
}
