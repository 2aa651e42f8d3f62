#pragma once
// One monitor on a test database with an order's window in reach: touches that open the window,
// steps run inside it while it is up, and what it lists.

#include "AppState.h"
#include "DataGrid.h"
#include "FakeMachine.h"
#include "Form_Base.h"
#include "Form_DateTime.h"
#include "Form_Detail.h"
#include "Form_Main.h"
#include "Form_Ready.h"
#include "Journal.h"
#include "Form_Time.h"
#include "Form_Vid.h"
#include "OrderBoard.h"
#include "PollingCycle.h"
#include "ProgramWindows.h"
#include "QtDialogs.h"
#include "Query.h"
#include "QueryModel.h"
#include "MonitorRig.h"
#include "ReadyStrip.h"
#include "RecallList.h"
#include "InputGate.h"
#include "OrderRows.h"
#include "TcpProxy.h"
#include "TestDatabase.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QStyleOption>
#include <QTest>
#include <QTableWidget>
#include <QTimeEdit>
#include <sqlite3.h>
#include <QTimer>

using namespace Qt::StringLiterals;

// Runs `act` once the modal window is on the screen; gives up after five seconds.
inline QPointer<QTimer> whenShown(QWidget* window, const std::function<void()>& act)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, window, act] {
        const bool shown = window->isVisible();
        if (!shown && waited->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (shown)
            act();
    });
    timer->start(5);
    return timer;
}

// One monitor on the database, serving the given sections besides 800 and 900.
struct Monitor : MonitorRig {
    Monitor(const QByteArray& database, QList<int> served = {1}) : MonitorRig(database)
    {
        // The tests run the idle check themselves.
        main().IdleTimer.stop();
        for (int i = 0; i < 5; ++i)
            main().sectionBoxes()[size_t(i)]->setChecked(served.contains(i + 1));
        refresh();
    }
    Form_Detail& detail() { return *windows->forms().Detail; }
    Form_Time& servingTimes() { return *windows->forms().Time; }
    Form_DateTime& picker() { return *windows->forms().DateTime; }
    void refresh()
    {
        main().RefreshOrderList();
        main().FillPage();
    }
    void poll() { polling().onTimer(); }

    // Clicks the grid and, once the order's window is up, runs `inside` there and closes it.
    void openFrom(QWidget* grid, const std::function<void()>& inside, QPoint at = QPoint(20, 5),
                  Qt::MouseButton button = Qt::LeftButton)
    {
        auto* view = qobject_cast<DataGrid*>(grid); // or any other widget
        QWidget* target = view ? view->viewport() : grid;
        whileOpen([&] { QTest::mouseClick(target, button, {}, at); }, inside);
    }
    void whileOpen(const std::function<void()>& touch, const std::function<void()>& inside)
    {
        QPointer<QTimer> waiting = whenShown(&detail(), [this, inside] {
            inside();
            if (detail().isVisible())
                detail().BtnExit->click();
        });
        touch();
        delete waiting; // the touch opened nothing
    }
    // The middle of the dish's cell in a grid whose first or second column names the dishes.
    static QPoint rowOf(QTableView* grid, const QString& dish)
    {
        QAbstractItemModel* model = grid->model();
        const auto found = model->match(model->index(0, 0), Qt::DisplayRole, dish) + model->match(model->index(0, 1), Qt::DisplayRole, dish);
        return found.isEmpty() ? QPoint() : grid->visualRect(found.first()).center();
    }
    // Dish names of the detail query, in its order.
    QStringList dishes()
    {
        QStringList names;
        Query& q = *detail().Q;
        for (int i = 0; q.isOpen() && i < q.recordCount(); ++i)
            names << *q.row(i)[size_t(q.fieldIndex(u"NAME_BLUDO"_s))].toText();
        return names;
    }
    QString current()
    {
        return detail().Q->eof() ? QString() : *detail().Q->asString(u"NAME_BLUDO"_s);
    }
};
