// The cook's actions on an order against a real database, with the program's own windows: an
// order opened from its panel or from the hot queue, a dish or the whole order marked ready and
// taken back, serving times given and taken away, and the board brought back to rest after the
// idle limit.

#include "AppState.h"
#include "DataGrid.h"
#include "FakeMachine.h"
#include "Form_Base.h"
#include "Form_DateTime.h"
#include "Form_Detail.h"
#include "Form_Main.h"
#include "Form_Time.h"
#include "Form_Vid.h"
#include "OrderBoard.h"
#include "PollingCycle.h"
#include "ProgramWindows.h"
#include "Query.h"
#include "QueryModel.h"
#include "MonitorRig.h"
#include "ReadyStrip.h"
#include "TestDatabase.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
// Runs `act` once the modal window is on the screen; gives up after five seconds.
QPointer<QTimer> whenShown(QWidget* window, const std::function<void()>& act)
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

    // Clicks the grid (or any other widget) and, once the order's window is up, runs `inside`
    // there and closes it.
    void openFrom(QWidget* target, const std::function<void()>& inside, QPoint at = QPoint(20, 5),
                  Qt::MouseButton button = Qt::LeftButton)
    {
        QPointer<QTimer> waiting = whenShown(&detail(), [this, inside] {
            inside();
            if (detail().isVisible())
                detail().BtnExit->click();
        });
        auto* grid = qobject_cast<DataGrid*>(target);
        QTest::mouseClick(grid ? grid->viewport() : target, button, {}, at);
        delete waiting; // the click opened nothing
    }
    // The middle of the row of a grid that shows the dish.
    static QPoint rowOf(QTableView* grid, const QString& dish)
    {
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            if (grid->model()->index(row, 0).data().toString() == dish
                || grid->model()->index(row, 1).data().toString() == dish)
                return {20, grid->rowViewportPosition(row) + grid->rowHeight(row) / 2};
        return {};
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
}

class TestOrderWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void dishReady_data();
    void dishReady();
    void orderReadyInServedSectionsOnly();
    void everyHidingRefreshesTheBoard_data();
    void everyHidingRefreshesTheBoard();
    void hotQueueClickFollowsTheMode_data();
    void hotQueueClickFollowsTheMode();
    void idleRestsTheBoard();
    void idlePressWaitsForServingTimes();
    void servingTimes_data();
    void servingTimes();
    void emptyGridSendsNothing();
    void touchOpensWhatWasTouched_data();
    void touchOpensWhatWasTouched();
    void readyAndBack_data();
    void readyAndBack();

private:
    // A line of an order, 100 unless told; timing is MY_TIME, MY_ALARM, START_TIME, END_TIME as SQL.
    void addLine(int section, int state, const QString& dish,
                 const QString& timing = u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s, int order = 100);
    int stateOf(const QString& dish);
    std::unique_ptr<TestDatabase> m_db;
};

void TestOrderWindows::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_db->exec(u"INSERT INTO PERSON (KOD, FIO) VALUES (1, 'Петров Сергей')"_s);
    m_db->exec(u"INSERT INTO SMENA (KOD, STATUS) VALUES (10, 1)"_s);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA, INFO_ZAKAZ) VALUES (100, 7, 1, 10, 'Стол 4')"_s);
    // The serving-time window is in reach.
    m_db->exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (1, 'time_monitor')"_s);
}

void TestOrderWindows::addLine(int section, int state, const QString& dish, const QString& timing, int order)
{
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM,"
               " START_TIME, END_TIME) VALUES (%4, %1, %2, :D, 1, %3)"_s.arg(section).arg(state).arg(timing).arg(order),
               {{u"D"_s, DbValue::text(dish)}});
}

int TestOrderWindows::stateOf(const QString& dish)
{
    return int(m_db->value(u"SELECT PRINT_SECTION FROM ZAKAZ_STR WHERE NAME_BLUDO = '%1'"_s.arg(dish)).toInt64().value_or(-1));
}

void TestOrderWindows::dishReady_data()
{
    QTest::addColumn<bool>("fromHotQueue");
    QTest::addColumn<QStringList>("listedAfter");
    // The panel lists shown and ready lines; the hot queue in unfulfilled mode shown ones only.
    QTest::newRow("panel") << false << QStringList{u"Уха"_s, u"Котлета"_s};
    QTest::newRow("hot queue") << true << QStringList{u"Котлета"_s};
}

void TestOrderWindows::dishReady()
{
    QFETCH(bool, fromHotQueue);
    QFETCH(QStringList, listedAfter);
    addLine(1, 2, u"Уха"_s);
    addLine(1, 2, u"Котлета"_s, u"20, 5, DATEADD(-25 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    Monitor m(m_db->name());
    m.poll();
    QStringList listed, before;
    QString caption;
    bool drawnReady = false;
    m.openFrom(fromHotQueue ? static_cast<QWidget*>(m.main().GHot) : m.main().G1, [&] {
        caption = m.detail().windowTitle();
        before = m.dishes();
        m.detail().Q->locate(u"KOD"_s, *m_db->value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Уха'"_s).toInt64());
        m.detail().BtnStr->click();
        listed = m.dishes();
        QueryModel* ds = m.detail().DS;
        drawnReady = ds->data(ds->index(0, 0), Qt::BackgroundRole).isValid();
    });
    QCOMPARE(caption, fromHotQueue ? u"Петров Сергей, № 7"_s : u"Петров Сергей, № 7, Стол 4"_s);
    QCOMPARE(before, (QStringList{u"Уха"_s, u"Котлета"_s}));
    QCOMPARE(stateOf(u"Уха"_s), 3);
    QCOMPARE(stateOf(u"Котлета"_s), 2);
    QCOMPARE(listed, listedAfter);
    QCOMPARE(drawnReady, !fromHotQueue);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
}

void TestOrderWindows::orderReadyInServedSectionsOnly()
{
    const QList<int> sections{1, 2, 3, 4, 5, 800, 900};
    for (int section : sections)
        addLine(section, 2, u"Блюдо %1"_s.arg(section));
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO) VALUES (101, 2, 2, 'Другой заказ', 1)"_s);
    Monitor m(m_db->name(), {2});
    bool closed = false;
    m.openFrom(m.main().G1, [&] {
        m.detail().BtnAll->click();
        closed = !m.detail().isVisible();
    });
    QVERIFY(closed);
    QVERIFY(!m.detail().Q->isOpen());
    const QList<int> served{2, 800, 900};
    for (int section : sections)
        QCOMPARE(stateOf(u"Блюдо %1"_s.arg(section)), served.contains(section) ? 3 : 2);
    QCOMPARE(stateOf(u"Другой заказ"_s), 2);
    // The order has left the board: only the other one is listed.
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 8, "_s);
    QVERIFY(m.main().G2->isHidden());
}

void TestOrderWindows::everyHidingRefreshesTheBoard_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button") << u"exit"_s;
    QTest::newRow("close box") << u"close"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("idle") << u"idle"_s;
}

void TestOrderWindows::everyHidingRefreshesTheBoard()
{
    QFETCH(QString, how);
    addLine(1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    bool hidden = false;
    m.openFrom(m.main().G1, [&] {
        // The point of sale's cook marks the dish elsewhere meanwhile.
        m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
        if (how == u"exit")
            m.detail().BtnExit->click();
        else if (how == u"close")
            m.detail().close();
        else if (how == u"escape")
            QTest::keyClick(&m.detail(), Qt::Key_Escape);
        else {
            m.machine.idle.lastInput = 0;
            m.machine.idle.now = 6000;
            m.main().IdleTimerTimer();
        }
        hidden = !m.detail().isVisible();
    });
    QVERIFY(hidden);
    QVERIFY(m.main().G1->isHidden());
    QCOMPARE(m.main().GroupBox1->title(), QString());
}

void TestOrderWindows::hotQueueClickFollowsTheMode_data()
{
    QTest::addColumn<bool>("allOrders");
    QTest::addColumn<QStringList>("listed");
    // Every section of the order, not only the served ones.
    QTest::newRow("unfulfilled") << false << QStringList{u"Уха"_s, u"Салат"_s, u"Новое"_s};
    QTest::newRow("all") << true << QStringList{u"Уха"_s, u"Салат"_s, u"Новое"_s, u"Готово"_s};
}

void TestOrderWindows::hotQueueClickFollowsTheMode()
{
    QFETCH(bool, allOrders);
    QFETCH(QStringList, listed);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM, START_TIME)"
               " VALUES (101, 1, 2, 'Первым в очереди', 1, 20, 5, DATEADD(-60 MINUTE TO CURRENT_TIMESTAMP))"_s);
    addLine(1, 2, u"Уха"_s);
    addLine(3, 2, u"Салат"_s, u"20, 5, DATEADD(-10 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    addLine(1, 3, u"Готово"_s, u"20, 5, DATEADD(-5 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    addLine(1, 1, u"Новое"_s, u"20, 5, DATEADD(-5 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    Monitor m(m_db->name());
    if (allOrders)
        m.main().BtnAllClick();

    // An empty hot queue opens nothing.
    int opened = 0;
    m.openFrom(m.main().GHot, [&] { ++opened; });
    QCOMPARE(opened, 0);

    m.poll(); // "Новое" is shown now, and the hot queue holds both orders' overdue dishes
    m.base().QHot.locate(u"KZ"_s, 100);
    QStringList seen;
    QString caption;
    // Below the last row: the current row's order opens.
    m.openFrom(m.main().GHot, [&] {
        seen = m.dishes();
        caption = m.detail().windowTitle();
    }, QPoint(20, m.main().GHot->viewport()->height() - 3));
    QVERIFY2(m.machine.dialogs.messages.isEmpty(), qPrintable(m.machine.dialogs.messages.join(u'\n')));
    QCOMPARE(caption, u"Петров Сергей, № 7"_s);
    QCOMPARE(QSet<QString>(seen.begin(), seen.end()), QSet<QString>(listed.begin(), listed.end()));

    // A right-button click on a row opens that row's order.
    Query& hot = m.base().QHot;
    QVERIFY(hot.locate(u"KZ"_s, 101));
    const QPoint row = m.main().GHot->visualRect(m.main().GHot->model()->index(hot.recNo(), 1)).center();
    QVERIFY(hot.locate(u"KZ"_s, 100));
    m.openFrom(m.main().GHot, [&] { caption = m.detail().windowTitle(); }, row, Qt::RightButton);
    QCOMPARE(caption, u"Петров Сергей, № 8"_s);
}

void TestOrderWindows::idleRestsTheBoard()
{
    Monitor m(m_db->name());
    Form_Main& main = m.main();
    const int normal = main.GHot->height();
    main.BtnShow->click();
    QCOMPARE(main.GHot->height(), main.GroupBox4->y() + main.GroupBox4->height());
    main.BtnShow->click();
    QCOMPARE(main.GHot->height(), normal);

    main.BtnShow->click();
    m.machine.idle.lastInput = 1000;
    m.machine.idle.now = 7000; // exactly 6 whole seconds: beyond the limit of 5
    main.IdleTimerTimer();
    QCOMPARE(main.GHot->height(), normal);
    QVERIFY(!m.state.HotExpanded);
    main.BtnShow->click();
    QVERIFY(main.GHot->height() > normal);

    // A refused request ends the tick with the platform's text, one box at a time however
    // long it stays on the screen.
    m.machine.idle.refuse = true;
    m.machine.dialogs.onMessage = [] { QTest::qWait(2500); };
    main.IdleTimer.start();
    QTRY_COMPARE(m.machine.dialogs.messages.size(), 1);
    m.machine.dialogs.onMessage = nullptr;
    main.IdleTimer.stop();
    QCOMPARE(m.machine.dialogs.messages.size(), 1);
    QCOMPARE(m.machine.dialogs.messages.first(), u"Время последнего ввода недоступно"_s);
    QVERIFY(main.GHot->height() > normal);
}

void TestOrderWindows::idlePressWaitsForServingTimes()
{
    addLine(1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    m.machine.idle.now = 60000;
    bool detailUnderServingTimes = false, servingTimesOpen = false;
    bool detailAfter = true;
    m.openFrom(m.main().G1, [&] {
        whenShown(&m.servingTimes(), [&] {
            servingTimesOpen = m.servingTimes().isVisible();
            m.main().IdleTimerTimer();
            detailUnderServingTimes = m.detail().isVisible();
            m.servingTimes().BitBtn3->click();
        });
        m.detail().BtnTime->click();
        detailAfter = m.detail().isVisible();
    });
    QVERIFY(servingTimesOpen);
    QVERIFY(detailUnderServingTimes);
    QVERIFY(!detailAfter);
}

void TestOrderWindows::servingTimes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("endTimeAfter"); // as the database gives it back
    QTest::newRow("assign") << u"assign"_s << 2 << true << u"07.12.2026 0:20:00"_s;
    QTest::newRow("assign by double click") << u"double click"_s << 2 << true << u"07.12.2026 0:20:00"_s;
    QTest::newRow("assign cancelled") << u"assign"_s << 2 << false << u"06.12.2026 21:00:00"_s;
    QTest::newRow("assign on a ready dish") << u"assign"_s << 3 << true << u"06.12.2026 21:00:00"_s;
    QTest::newRow("remove") << u"remove"_s << 2 << true << QString();
    QTest::newRow("remove on a ready dish") << u"remove"_s << 3 << true << QString();
    QTest::newRow("remove not confirmed") << u"remove"_s << 2 << false << u"06.12.2026 21:00:00"_s;
}

void TestOrderWindows::servingTimes()
{
    QFETCH(QString, action);
    QFETCH(int, state);
    QFETCH(bool, answer);
    QFETCH(QString, endTimeAfter);
    addLine(1, 2, u"Уха"_s, u"20, 5, CURRENT_TIMESTAMP, NULL"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM,"
               " START_TIME, END_TIME) VALUES (100, 1, %1, 'Бифштекс', 1, 25, 5, CURRENT_TIMESTAMP,"
               " TIMESTAMP '2026-12-06 21:00:00')"_s.arg(state));
    Monitor m(m_db->name());
    m.machine.clock.time = QDateTime(QDate(2026, 12, 6), QTime(23, 50));
    m.machine.dialogs.answers << answer;

    QDate presetDate;
    QTime presetTime;
    bool pickerShown = false, servingTimesStayed = false;
    QString currentAfter, currentInGrid;
    const bool picks = action != u"remove" && state == 2;
    m.openFrom(m.main().G1, [&] {
        whenShown(&m.servingTimes(), [&] {
            Form_Time& times = m.servingTimes();
            const qint64 key = *m_db->value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Бифштекс'"_s).toInt64();
            m.detail().Q->locate(u"KOD"_s, key);
            QPointer<QTimer> picking = whenShown(&m.picker(), [&] {
                Form_DateTime& picker = m.picker();
                pickerShown = true;
                presetDate = picker.DateTimePicker1->date();
                presetTime = picker.DateTimePicker2->time();
                // Only the time of day is changed: the preset date stays.
                picker.DateTimePicker2->setTime(QTime(0, 20));
                if (answer)
                    picker.BitBtn1->click();
                else
                    QTest::keyClick(&picker, Qt::Key_Escape);
            });
            if (action == u"remove")
                times.BitBtn2->click();
            else if (action == u"assign")
                times.BitBtn1->click();
            else
                emit times.GridStrZakaz->doubleClicked(times.GridStrZakaz->currentIndex());
            delete picking; // the picker was not shown
            servingTimesStayed = times.isVisible();
            currentAfter = m.current();
            currentInGrid = times.GridStrZakaz->currentIndex().siblingAtColumn(0).data().toString();
            times.BitBtn3->click();
        });
        m.detail().BtnTime->click();
    });
    QCOMPARE(pickerShown, picks);
    if (picks) {
        QCOMPARE(presetDate, QDate(2026, 12, 7));
        QCOMPARE(presetTime.toString(u"HH:mm"_s), u"00:15"_s);
    }
    QVERIFY(servingTimesStayed);
    QCOMPARE(m.machine.dialogs.questions.size(), action == u"remove" ? 1 : 0);
    QCOMPARE(m_db->value(u"SELECT END_TIME FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Бифштекс'"_s).toText().value_or(QString()),
             endTimeAfter);
    // The same dish stays current in both grids.
    QCOMPARE(currentAfter, u"Бифштекс"_s);
    QCOMPARE(currentInGrid, u"Бифштекс"_s);
}

void TestOrderWindows::emptyGridSendsNothing()
{
    addLine(1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    bool stayed = false;
    int sent = -1;
    m.openFrom(m.main().G1, [&] {
        // Every line went elsewhere meanwhile: the re-read order is empty.
        m_db->exec(u"UPDATE ZAKAZ_STR SET SECTION = 4"_s);
        m.detail().reread();
        QCOMPARE(m.detail().Q->recordCount(), 0);
        const int before = m.base().MyDB.requestCount();
        m.detail().BtnStr->click();
        m.detail().BtnAll->click();
        whenShown(&m.servingTimes(), [&] {
            m.servingTimes().BitBtn1->click();
            m.servingTimes().BitBtn2->click();
            m.servingTimes().BitBtn3->click();
        });
        m.detail().BtnTime->click();
        sent = m.base().MyDB.requestCount() - before;
        stayed = m.detail().isVisible();
    });
    QCOMPARE(sent, 0);
    QVERIFY(stayed);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
    QVERIFY(m.machine.dialogs.questions.isEmpty());
}

void TestOrderWindows::touchOpensWhatWasTouched_data()
{
    QTest::addColumn<QString>("touch");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("current");
    const QString hot7 = u"Петров Сергей, № 7"_s, hot8 = u"Петров Сергей, № 8"_s;
    const QString panel7 = u"Петров Сергей, № 7, Стол 4"_s;
    QTest::newRow("hot queue row") << u"hot row"_s << hot7 << u"Пельмени"_s;
    QTest::newRow("hot queue row indicator") << u"hot indicator"_s << hot7 << u"Пельмени"_s;
    // The row chosen before a poll that brought the same rows is still the one that acts.
    QTest::newRow("hot queue titles after a poll") << u"hot titles"_s << hot7 << u"Голубцы"_s;
    QTest::newRow("below the hot rows after a poll") << u"hot below"_s << hot7 << u"Голубцы"_s;
    QTest::newRow("expanded hot queue over the panels") << u"expanded"_s << hot8 << u"Рис с овощами"_s;
    QTest::newRow("panel dish") << u"panel row"_s << panel7 << u"Пельмени"_s;
    QTest::newRow("panel's empty space, hot queue shrunk again") << u"shrunk"_s << panel7 << u"Голубцы"_s;
}

void TestOrderWindows::touchOpensWhatWasTouched()
{
    QFETCH(QString, touch);
    QFETCH(QString, caption);
    QFETCH(QString, current);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    const QString ago = u"20, 5, DATEADD(%1 MINUTE TO CURRENT_TIMESTAMP), NULL"_s;
    addLine(1, 2, u"Голубцы"_s, ago.arg(-40));
    addLine(1, 2, u"Пельмени"_s, ago.arg(-35));
    addLine(1, 2, u"Чай чёрный"_s, ago.arg(-30));
    addLine(1, 2, u"Рис с овощами"_s, ago.arg(-60), 101); // first in the hot queue
    addLine(1, 2, u"Компот"_s, ago.arg(-25), 101);
    Monitor m(m_db->name());
    m.poll();
    Form_Main& main = m.main();
    DataGrid* hot = main.GHot;
    const QPoint dumplings = Monitor::rowOf(hot, u"Пельмени"_s);
    QString seenCaption, seenCurrent;
    auto look = [&] {
        seenCaption = m.detail().windowTitle();
        seenCurrent = m.current();
    };
    if (touch == u"hot row") {
        m.openFrom(hot, look, dumplings);
    } else if (touch == u"hot indicator") {
        m.openFrom(hot->verticalHeader()->viewport(), look, QPoint(4, dumplings.y()));
    } else if (touch == u"hot titles" || touch == u"hot below") {
        m.openFrom(hot, [] {}, dumplings);
        m.poll();
        if (touch == u"hot titles")
            m.openFrom(hot->horizontalHeader()->viewport(), look, QPoint(40, 5));
        else
            m.openFrom(hot, look, QPoint(20, hot->viewport()->height() - 3));
    } else if (touch == u"panel row") {
        m.openFrom(main.G1, look, Monitor::rowOf(main.G1, u"Пельмени"_s));
    } else {
        main.BtnShow->click();
        if (touch == u"shrunk")
            main.BtnShow->click();
        // Whatever lies on top in the middle of the first panel takes the touch.
        const QPoint centre = main.GroupBox1->geometry().center();
        QWidget* there = main.page->childAt(centre);
        QVERIFY(there);
        m.openFrom(there, look, there->mapFrom(main.page, centre));
    }
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenCurrent, current);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
}

void TestOrderWindows::readyAndBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("seen");       // what the cook read on the way
    QTest::addColumn<QList<int>>("states");  // of Голубцы, Пельмени, Чай чёрный, Хлеб, Стейк
    QTest::newRow("dish back by its button") << u"dish"_s << u"Вернуть в работу"_s << QList<int>{2, 2, 2, 3, 3};
    QTest::newRow("dish changed meanwhile") << u"dish, changed"_s << u"Вернуть в работу"_s << QList<int>{2, 1, 2, 3, 3};
    // The touches a cook needs from the resting board: "Все", the order, the button.
    QTest::newRow("order back, found through Все") << u"order"_s << u"Вернуть заказ в работу"_s
                                                  << QList<int>{2, 2, 2, 2, 3};
    QTest::newRow("order back by the strip") << u"strip"_s << u"Заказ № 7 готов"_s << QList<int>{2, 2, 2, 3, 3};
    QTest::newRow("strip, a line changed meanwhile") << u"strip, changed"_s << u"Заказ № 7 готов"_s
                                                     << QList<int>{2, 2, 1, 3, 3};
    QTest::newRow("strip outlives the idle return, then ends") << u"strip, idle"_s << u"Заказ № 7 готов"_s
                                                               << QList<int>{3, 3, 3, 3, 3};
    QTest::newRow("a newer ready order replaces the strip") << u"strip, newer"_s << u"Заказ № 8 готов"_s
                                                            << QList<int>{3, 3, 3, 3, 3};
    QTest::newRow("double tap on a dish") << u"double tap"_s << u"Блюдо готово"_s << QList<int>{2, 3, 2, 3, 3};
    QTest::newRow("dish, then the order at once") << u"dish, order"_s << u"Заказ полностью готов"_s
                                                  << QList<int>{2, 3, 2, 3, 3};
}

void TestOrderWindows::readyAndBack()
{
    QFETCH(QString, how);
    QFETCH(QString, seen);
    QFETCH(QList<int>, states);
    const QStringList dishes{u"Голубцы"_s, u"Пельмени"_s, u"Чай чёрный"_s, u"Хлеб"_s, u"Стейк"_s};
    const QString ago = u"20, 5, DATEADD(%1 MINUTE TO CURRENT_TIMESTAMP), NULL"_s;
    addLine(1, 2, dishes[0], ago.arg(-40));
    addLine(1, 2, dishes[1], ago.arg(-35));
    addLine(1, 2, dishes[2], ago.arg(-30));
    addLine(1, 3, dishes[3], ago.arg(-20));  // ready before
    addLine(2, 3, dishes[4], ago.arg(-20));  // a section this monitor does not serve
    if (how == u"strip, newer") {
        m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
        addLine(1, 2, u"Рис с овощами"_s, ago.arg(-10), 101);
    }
    if (how == u"order")
        m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
    Monitor m(m_db->name());
    Form_Main& main = m.main();
    QDateTime& now = m.machine.clock.time;
    now = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    auto later = [&] { now = now.addMSecs(Form_Detail::DoubleTapMilliseconds); };
    const QPoint dumplings = Monitor::rowOf(main.G1, dishes[1]);
    QString read;

    if (how.startsWith(u"dish")) {
        m.openFrom(main.G1, [&] {
            QCOMPARE(m.current(), dishes[1]);
            m.detail().BtnStr->click();
            if (how == u"dish, order") {
                m.detail().BtnAll->click();
                read = m.detail().BtnAll->text();
                return;
            }
            later();
            QTest::mouseClick(m.detail().G->viewport(), Qt::LeftButton, {}, Monitor::rowOf(m.detail().G, dishes[1]));
            read = m.detail().BtnStr->text();
            if (how == u"dish, changed")
                m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 1 WHERE NAME_BLUDO = 'Пельмени'"_s);
            m.detail().BtnStr->click();
            if (how == u"dish")
                QCOMPARE(m.current(), dishes[1]);
        }, dumplings);
    } else if (how == u"double tap") {
        m.openFrom(main.G1, [&] {
            m.detail().BtnStr->click();
            m.detail().BtnStr->click();
            read = m.detail().BtnStr->text();
        }, dumplings);
    } else if (how == u"order") {
        QTest::mouseClick(main.BtnAll, Qt::LeftButton);
        m.openFrom(main.G1, [&] {
            read = m.detail().BtnAll->text();
            QTest::mouseClick(m.detail().BtnAll, Qt::LeftButton);
            QCOMPARE(m.detail().BtnAll->text(), Form_Detail::AllCaption);
        });
    } else {
        m.openFrom(main.G1, [&] { m.detail().BtnAll->click(); });
        if (how == u"strip, newer") {
            later();
            m.openFrom(main.G1, [&] { m.detail().BtnAll->click(); });
        }
        ReadyStrip* strip = main.StripReady;
        QVERIFY(strip->isVisibleTo(&main));
        read = strip->Label->text();
        for (QGroupBox* panel : main.panels())
            QVERIFY(!strip->geometry().intersects(panel->geometry()));
        if (how == u"strip, idle") {
            m.machine.idle.now = 60000;
            main.IdleTimerTimer();
            QVERIFY(strip->isVisibleTo(&main));
            strip->TimerReady.start(1);
            QTRY_VERIFY(!strip->isVisibleTo(&main));
        } else {
            if (how == u"strip, changed")
                m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 1 WHERE NAME_BLUDO = 'Чай чёрный'"_s);
            QTest::mouseClick(strip->BtnUndo, Qt::LeftButton);
            QVERIFY(!strip->isVisibleTo(&main));
        }
        if (how == u"strip, newer")
            QCOMPARE(stateOf(u"Рис с овощами"_s), 2);
        else if (how != u"strip, idle")
            QCOMPARE(main.GroupBox1->title(), u"Петров Сергей, № 7, Стол 4"_s); // back on the board
    }
    QCOMPARE(read, seen);
    QList<int> after;
    for (const QString& dish : dishes)
        after << stateOf(dish);
    QCOMPARE(after, states);
    // Lines back at work are shown ones, not new ones: nothing sounds, unless the point of sale
    // made a line new again meanwhile.
    m.poll();
    QCOMPARE(m.machine.speaker.beeps.size(), how.endsWith(u"changed") ? 1 : 0);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestOrderWindows)
#include "TestOrderWindows.moc"
