// The cook's actions on an order against a real database, with the program's own windows: an
// order opened from its panel or from the hot queue, a dish or the whole order marked ready or back,
// serving times given and taken away, and the board brought back to rest after the idle limit.

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
#include "Query.h"
#include "QueryModel.h"
#include "MonitorRig.h"
#include "ReadyStrip.h"
#include "RecallList.h"
#include "TouchGuard.h"
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
}

class TestOrderWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Form_Base::shortenLimits(3, 1); } // a held line is waited out in 1 s
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
    void pickerKeepsWithinAYear_data();
    void pickerKeepsWithinAYear();
    void pickerArrowsGrowWithTheWindow();
    void emptyGridSendsNothing();
    void cookActions_data();
    void cookActions();
    void recallList_data();
    void recallList();
    void brokenJournalLeavesTheBoardAlone_data();
    void brokenJournalLeavesTheBoardAlone();

private:
    // A line of an order, 100 unless told; timing is MY_TIME, MY_ALARM, START_TIME, END_TIME as SQL.
    void addLine(int section, int state, const QString& dish,
                 const QString& timing = u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s, int order = 100)
    {
        m_rows->addLine(order, section, state, dish, timing);
    }
    int stateOf(const QString& dish) { return m_rows->stateOf(dish); }
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};

void TestOrderWindows::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, u"Петров Сергей"_s);
    m_rows->addOrder(100, 7, u"Стол 4"_s);
    // The serving-time window is in reach.
    m_db->exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (1, 'time_monitor')"_s);
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
        caption = m.detail().Heading->text();
        before = m.dishes();
        m.detail().Q->locate(u"KOD"_s, *m_db->value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Уха'"_s).toInt64());
        m.detail().BtnStr->click();
        listed = m.dishes();
        QueryModel* ds = m.detail().DS;
        drawnReady = ds->data(ds->index(0, 0), Qt::BackgroundRole).isValid();
    });
    QCOMPARE(caption, u"Петров Сергей, № 7, Стол 4"_s);
    // Named inside, as large as the dishes, for a kiosk shows no title bar; the chosen dish is
    // framed, its own colours kept, not filled.
    QCOMPARE(m.detail().Heading->font().pixelSize(), m.detail().G->font().pixelSize());
    QCOMPARE(m.detail().G->palette().color(QPalette::Active, QPalette::Highlight), QColor(Qt::transparent));
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
        caption = m.detail().Heading->text();
    }, QPoint(20, m.main().GHot->viewport()->height() - 3));
    QVERIFY2(m.machine.dialogs.messages.isEmpty(), qPrintable(m.machine.dialogs.messages.join(u'\n')));
    QCOMPARE(caption, u"Петров Сергей, № 7, Стол 4"_s);
    QCOMPARE(QSet<QString>(seen.begin(), seen.end()), QSet<QString>(listed.begin(), listed.end()));

    // A right-button click on a row opens that row's order.
    Query& hot = m.base().QHot;
    QVERIFY(hot.locate(u"KZ"_s, 101));
    const QPoint row = m.main().GHot->visualRect(m.main().GHot->model()->index(hot.recNo(), 1)).center();
    QVERIFY(hot.locate(u"KZ"_s, 100));
    m.machine.clock.time = QDateTime::currentDateTime().addSecs(1); // a touch well after the window closed
    m.openFrom(m.main().GHot, [&] { caption = m.detail().Heading->text(); }, row, Qt::RightButton);
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

void TestOrderWindows::pickerKeepsWithinAYear_data()
{
    QTest::addColumn<QString>("year"); // typed over the preset one, then Enter
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a year on") << u"2027"_s << true;
    QTest::newRow("9999") << u"9999"_s << false;
    QTest::newRow("0001, which the picker cannot take") << u"0001"_s << false;
}

void TestOrderWindows::pickerKeepsWithinAYear()
{
    QFETCH(QString, year);
    QFETCH(bool, accepted);
    FakeMachine machine;
    AppState state;
    Form_DateTime picker(state, machine.dialogs, machine.display, nullptr);
    picker.setMoment(QDateTime(QDate(2026, 12, 6), QTime(23, 50)));
    picker.show();
    picker.DateTimePicker1->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(picker.DateTimePicker1, year);
    QTest::keyClick(picker.DateTimePicker1, Qt::Key_Return);
    QCOMPARE(picker.result() == QDialog::Accepted, accepted);
    QCOMPARE(machine.dialogs.messages.size(), accepted ? 0 : 1);
}

void TestOrderWindows::pickerArrowsGrowWithTheWindow()
{
    FakeMachine machine;
    machine.display.screen = QSize(1920, 1080);
    AppState state;
    state.AtDesignSize = true;
    Form_DateTime picker(state, machine.dialogs, machine.display, nullptr);
    picker.show();
    // The date opens a calendar from its drop-down arrow, the time steps by its two arrows.
    QStyleOptionComboBox date;
    date.initFrom(picker.DateTimePicker1);
    date.subControls = QStyle::SC_All;
    const QRect drop = picker.DateTimePicker1->style()->subControlRect(QStyle::CC_ComboBox, &date, QStyle::SC_ComboBoxArrow,
                                                                      picker.DateTimePicker1);
    QStyleOptionSpinBox time;
    time.initFrom(picker.DateTimePicker2);
    time.subControls = QStyle::SC_All;
    const QRect up = picker.DateTimePicker2->style()->subControlRect(QStyle::CC_SpinBox, &time, QStyle::SC_SpinBoxUp,
                                                                    picker.DateTimePicker2);
    QVERIFY2(drop.width() >= picker.DateTimePicker1->height() - 2, qPrintable(QString::number(drop.width())));
    QVERIFY2(up.width() >= picker.DateTimePicker2->height() - 2, qPrintable(QString::number(up.width())));
}

void TestOrderWindows::cookActions_data()
{
    // "open" touches Пельмени in the first panel, and the steps up to "close" act in the window
    // it opens; "touch:W:D" reads the caption and current dish of the window that a touch opens on
    // the dish D in the hot queue (W "hot"), the panel, the hot queue's row indicator, or on its
    // titles or the middle of the first panel; "hold:W:D" presses there and "release" lets go;
    // "tap" touches the place of "Заказ полностью готов" on whatever window lies there, and a window
    // it opens is tapped there again; "later:N" lets N ms pass (500 unless told); "pos:S:D" is the
    // point of sale setting the dishes D (a LIKE pattern) to state S, "held:D" holding the line,
    // "minute" changing what the hot queue reads but does not show; "no" answers the next question
    // with Cancel; "cut" breaks the connection off. The states are those of Голубцы, Пельмени, Чай
    // чёрный, Хлеб, Стейк and Рис с овощами.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("seen"); // what the cook read on the way
    QTest::addColumn<QString>("states");
    const QString ready = u"open later order close "_s, back7 = u"Вернуть заказ № 7 в работу?\n\nГолубцы\nПельмени\nЧай чёрный"_s;
    const QString ready7 = u"Заказ № 7 готов"_s, hot = u"Петров Сергей, № 7, Стол 4 | "_s, panel = u"Петров Сергей, № 7, Стол 4 | "_s;
    const QString retry = u"строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("hot queue row indicator") << u"poll touch:indicator:Пельмени"_s << hot + u"Пельмени"_s << u"222332"_s;
    // The row chosen before a poll is still the one that acts, by its line, though the rows changed.
    QTest::newRow("hot queue titles after a poll") << u"poll touch:hot:Пельмени poll later touch:titles"_s << hot + u"Голубцы"_s << u"222332"_s;
    QTest::newRow("hot queue choice after a minute") << u"poll touch:hot:Пельмени minute poll read:chosen"_s << u"Пельмени"_s << u"222332"_s;
    QTest::newRow("hot queue titles after a minute") << u"poll touch:hot:Пельмени minute poll later touch:titles"_s << hot + u"Голубцы"_s << u"222332"_s;
    QTest::newRow("expanded hot queue over the panels") << u"poll show touch:centre"_s << u"Петров Сергей, № 8 | Рис с овощами"_s << u"222332"_s;
    QTest::newRow("panel dish") << u"poll touch:panel:Пельмени"_s << panel + u"Пельмени"_s << u"222332"_s;
    QTest::newRow("panel's empty space, hot queue shrunk again") << u"poll show show touch:centre"_s << panel + u"Голубцы"_s << u"222332"_s;
    // A press held while a poll takes the order off the board opens nothing at the release.
    QTest::newRow("press on the hot queue held across a poll") << u"poll hold:hot:Пельмени pos:3:Пельмени poll release"_s << QString() << u"232332"_s;
    QTest::newRow("press held across a poll") << u"hold:panel:Пельмени pos:3:Голубцы pos:3:Пельмени pos:3:Чай% poll release"_s << QString() << u"333332"_s;
    // The second tap of a double or triple tap lands on the board (here the expanded hot queue),
    // then on the window it would open.
    QTest::newRow("double tap on Заказ полностью готов") << u"board show poll "_s + ready + u"tap time-up"_s << QString() << u"333332"_s;
    QTest::newRow("triple tap on Заказ полностью готов") << u"board show poll "_s + ready + u"tap later:200 tap later:200 tap time-up"_s << QString() << u"333332"_s;
    QTest::newRow("dish back, asked first") << u"open later dish later read:dish dish current:Пельмени"_s << u"Вернуть в работу"_s << u"222332"_s;
    QTest::newRow("dish changed meanwhile") << u"open later dish later pos:1:Пельмени dish read:asked"_s << u"Вернуть в работу: Пельмени?"_s << u"212332"_s;
    // The press that marked the dish leaves it current: 0.7 s later the same dish is asked about.
    QTest::newRow("a second press 0.7 s later") << u"open later dish later:700 no dish read:asked current:Пельмени"_s << u"Вернуть в работу: Пельмени?"_s << u"232332"_s;
    QTest::newRow("a second press 0.45 s later") << u"open later dish later:450 dish read:asked"_s << QString() << u"232332"_s;
    QTest::newRow("the order 0.45 s after a dish") << u"open later dish later:450 order read:order"_s << u"Заказ полностью готов"_s << u"232332"_s;
    QTest::newRow("the order 0.5 s after a dish") << u"open later dish later:500 order close read:strip time-up"_s << ready7 << u"333332"_s;
    QTest::newRow("a window's first 0.45 s") << u"open later:450 dish order"_s << QString() << u"222332"_s;
    // Marked ready elsewhere a moment ago, the order's button takes back only after a question.
    QTest::newRow("order ready elsewhere meanwhile") << u"pos:3:% open later no order read:asked"_s << back7 + u"\nХлеб"_s << u"333333"_s;
    QTest::newRow("order back, found through Все") << u"pos:3:% Все open later order read:asked"_s << back7 + u"\nХлеб"_s << u"222233"_s;
    QTest::newRow("order back, a line changed meanwhile") << u"pos:3:% Все open later pos:1:Чай% order"_s << QString() << u"221233"_s;
    // Back go the dishes of the press that made the order ready, not the bread served before.
    QTest::newRow("order back after its press") << ready + u"later Все open later order read:asked time-up"_s << back7 << u"222332"_s;
    // Lines not yet shown are not marked ready, nor brought back as shown.
    QTest::newRow("a line new since the window opened") << u"open pos:1:Чай% later order close time-up"_s << QString() << u"331332"_s;
    QTest::newRow("strip, a line not yet sent") << u"pos:0:Чай% "_s + ready + u"later Отменить"_s << QString() << u"220332"_s;
    QTest::newRow("order back by the strip") << ready + u"read:strip later Отменить"_s << ready7 << u"222332"_s;
    // The second tap lands where the strip was, over the hot queue: it opens nothing.
    QTest::newRow("double tap on Отменить") << ready + u"later Отменить poll touch:hot:Рис"_s << QString() << u"222332"_s;
    QTest::newRow("strip, a line changed meanwhile") << ready + u"read:strip pos:1:Чай% later Отменить"_s << ready7 << u"221332"_s;
    QTest::newRow("strip outlives the idle return, then ends") << ready + u"idle read:strip time-up"_s << ready7 << u"333332"_s;
    QTest::newRow("a newer ready order replaces the strip") << ready + u"later "_s + ready + u"read:strip later Отменить"_s << u"Заказ № 8 готов"_s << u"333332"_s;
    // A failed action: one box in the cooks' words, the server's text beneath.
    QTest::newRow("dish held by the point of sale") << u"open later held:Пельмени dish read:box"_s << u"Блюдо не отмечено: "_s + retry << u"222332"_s;
    QTest::newRow("connection lost under the window") << u"open later cut dish read:box close"_s << u"Нет связи с базой данных: блюдо не отмечено. …"_s << u"222332"_s;
    QTest::newRow("opening while the polling knows it lost") << u"poll cut poll touch:panel:Пельмени read:box"_s << u"Нет связи с базой данных: заказ не открыт. …"_s << u"222332"_s;
}

void TestOrderWindows::cookActions()
{
    QFETCH(QString, steps);
    QFETCH(QString, seen);
    QFETCH(QString, states);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    const QString ago = u"20, 5, DATEADD(%1 MINUTE TO CURRENT_TIMESTAMP), NULL"_s;
    addLine(1, 2, u"Голубцы"_s, ago.arg(-40));
    addLine(1, 2, u"Пельмени"_s, ago.arg(-35));
    addLine(1, 2, u"Чай чёрный"_s, ago.arg(-30));
    addLine(1, 2, u"Рис с овощами"_s, ago.arg(-60), 101); // first in the hot queue
    addLine(1, 3, u"Хлеб"_s);  // ready before
    addLine(2, 3, u"Стейк"_s); // a section this monitor does not serve
    TcpProxy proxy;
    Monitor m(proxy.databaseName(m_db->path()));
    Form_Main& main = m.main();
    Form_Detail& detail = m.detail();
    ReadyStrip* strip = main.StripReady;
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    m.machine.idle.now = 60000; // a minute without a touch, for the idle check when it runs
    const QStringList todo = steps.split(u' ');
    QString read;
    std::unique_ptr<HeldLine> held;
    QPair<QWidget*, QPoint> pressed;
    qsizetype i = 0;
    std::function<void()> run = [&] {
        for (; i < todo.size() && todo[i] != u"close"; ++i) {
            const QString step = todo[i].section(u':', 0, 0), arg = todo[i].section(u':', 1);
            if (step == u"open") {
                ++i;
                m.openFrom(main.G1, run, Monitor::rowOf(main.G1, u"Пельмени"_s));
            } else if (step == u"later")
                m.machine.clock.time = m.machine.clock.time.addMSecs(arg.isEmpty() ? 500 : arg.toInt());
            else if (step == u"dish" || step == u"order")
                QTest::mouseClick(step == u"dish" ? detail.BtnStr : detail.BtnAll, Qt::LeftButton);
            else if (step == u"read" && arg == u"strip")
                read = strip->isVisibleTo(&main) ? strip->Label->text() : QString();
            else if (step == u"read" && arg == u"asked")
                read = m.machine.dialogs.questions.value(0).section(u'|', 1);
            else if (step == u"read" && arg == u"box") // what the box says, and whether the server's text follows
                read = m.machine.dialogs.messages.join(u'|').replace(QRegularExpression(u"\n\n.+"_s, QRegularExpression::DotMatchesEverythingOption), u" …"_s);
            else if (step == u"read" && arg == u"chosen") // the dish the hot queue shows chosen
                read = main.GHot->selectionModel()->selectedRows(1).value(0).data().toString();
            else if (step == u"read")
                read = (arg == u"dish" ? detail.BtnStr : detail.BtnAll)->text();
            else if (step == u"choose")
                QTest::mouseClick(detail.G->viewport(), Qt::LeftButton, {}, Monitor::rowOf(detail.G, arg));
            else if (step == u"current")
                QCOMPARE(m.current(), arg);
            else if (step == u"pos")
                m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE NAME_BLUDO LIKE '%2'"_s.arg(arg.left(1), arg.mid(2)));
            else if (step == u"minute")
                m_db->exec(u"UPDATE ZAKAZ_STR SET MY_ALARM = MY_ALARM + 1"_s);
            else if (step == u"held")
                held = std::make_unique<HeldLine>(m_db->name(), arg);
            else if (step == u"no")
                m.machine.dialogs.answers << false;
            else if (step == u"cut")
                proxy.kill();
            else if (step == u"board")
                main.show();
            else if (step == u"Все" || step == u"Отменить")
                QTest::mouseClick(step == u"Все" ? main.BtnAll : strip->BtnUndo, Qt::LeftButton);
            else if (step == u"hold") {
                DataGrid* grid = arg.startsWith(u"hot") ? main.GHot : main.G1;
                pressed = {grid->viewport(), Monitor::rowOf(grid, arg.section(u':', 1))};
                QTest::mousePress(pressed.first, Qt::LeftButton, {}, pressed.second);
            } else if (step == u"release")
                m.whileOpen([&] { QTest::mouseRelease(pressed.first, Qt::LeftButton, {}, pressed.second); },
                            [&] { read = detail.Heading->text(); });
            else if (step == u"tap") {
                const QPoint spot = detail.mapToGlobal(detail.BtnAll->geometry().center());
                auto tap = [spot](QWidget* window) {
                    QWidget* there = window->childAt(window->mapFromGlobal(spot));
                    QTest::mouseClick(there ? there : window, Qt::LeftButton, {}, (there ? there : window)->mapFromGlobal(spot));
                };
                m.whileOpen([&] { tap(&main); }, [&] {
                    read = detail.Heading->text();
                    tap(&detail);
                });
            } else if (step == u"touch") {
                const QString where = arg.section(u':', 0, 0);
                DataGrid* grid = where == u"panel" ? main.G1 : main.GHot;
                const QPoint cell = Monitor::rowOf(grid, arg.section(u':', 1));
                // Whatever lies on top in the first panel, below its four dishes, takes the touch there.
                const QPoint centre = main.GroupBox1->geometry().center() + QPoint(0, main.GroupBox1->height() / 4);
                QWidget* there = main.page->childAt(centre);
                const QHash<QString, QPair<QWidget*, QPoint>> places{
                    {u"indicator"_s, {grid->verticalHeader()->viewport(), QPoint(4, cell.y())}},
                    {u"titles"_s, {grid->horizontalHeader()->viewport(), QPoint(40, 5)}},
                    {u"centre"_s, {there, there->mapFrom(main.page, centre)}},
                };
                const auto [target, at] = places.value(where, {grid, cell});
                m.openFrom(target, [&] { read = detail.Heading->text() + u" | "_s + m.current(); }, at);
            } else if (step == u"poll" || step == u"show")
                step == u"poll" ? m.poll() : main.BtnShow->click();
            else if (step == u"idle")
                main.IdleTimerTimer();
            else if (step == u"time-up")
                strip->TimerReady.start(1);
        }
    };
    run();
    held.reset();
    QCOMPARE(read, seen);
    QTRY_VERIFY(!strip->isVisibleTo(&main));
    for (QGroupBox* panel : main.panels()) // where the strip was shown, over the hot queue
        QVERIFY(!strip->geometry().intersects(panel->geometry()));
    QString found;
    for (const QString& dish : {u"Голубцы"_s, u"Пельмени"_s, u"Чай чёрный"_s, u"Хлеб"_s, u"Стейк"_s, u"Рис с овощами"_s})
        found += QString::number(stateOf(dish));
    QCOMPARE(found, states);
    // The board was read again after the last action: it lists the orders with dishes at work.
    QCOMPARE(m.base().QZakaz.recordCount(), main.board().AllOrders ? 2 : found.left(4).contains(u'2') + (found[5] == u'2'));
    // Lines back at work are shown ones, not new ones: nothing sounds but a line the point of
    // sale made new again.
    m.poll();
    QCOMPARE(m.machine.speaker.beeps.size(), steps.contains(u"pos:1") && !steps.contains(u"cut") ? 1 : 0);
    // One box for a failed action, none otherwise; every question leaves the dishes as they are
    // on Enter.
    QCOMPARE(m.machine.dialogs.messages.size(), steps.count(u"read:box"));
    QVERIFY(!m.machine.dialogs.focused.contains(Dialogs::Focus::Ok));
}

void TestOrderWindows::recallList_data()
{
    // "dish" marks Пельмени ready in its order's window, "order" the whole order; "pos:S:D" is the
    // point of sale setting the dishes D (a LIKE pattern) to state S; "recall:N" opens "Готовые",
    // reads its rows, touches the row N and takes it back. The states are those of Голубцы,
    // Пельмени, Чай чёрный, Хлеб, Стейк and Рис с овощами.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("listed");  // the rows seen in "Готовые" before the take-back
    QTest::addColumn<QString>("presses"); // the presses the journal recorded
    QTest::addColumn<QString>("states");
    QTest::newRow("the order's press") << u"order recall:0"_s << u"12:00 7 Петров Сергей Голубцы, Пельмени, Чай чёрный"_s
                                       << u"order-ready recall"_s << u"222332"_s;
    QTest::newRow("the older of two presses") << u"dish order recall:1"_s
                                              << u"12:01 7 Петров Сергей Голубцы, Чай чёрный|12:00 7 Петров Сергей Пельмени"_s
                                              << u"dish-ready order-ready recall"_s << u"323332"_s;
    QTest::newRow("a line changed meanwhile") << u"order pos:1:Чай% recall:0"_s
                                              << u"12:00 7 Петров Сергей Голубцы, Пельмени, Чай чёрный"_s
                                              << u"order-ready recall"_s << u"221332"_s;
    QTest::newRow("a line not yet shown stays") << u"pos:1:Чай% order recall:0"_s
                                                << u"12:00 7 Петров Сергей Голубцы, Пельмени"_s
                                                << u"order-ready recall"_s << u"221332"_s;
    QTest::newRow("taken back by the strip") << u"order Отменить recall:0"_s << QString() << u"order-ready undo"_s
                                             << u"222332"_s;
}

void TestOrderWindows::recallList()
{
    QFETCH(QString, steps);
    QFETCH(QString, listed);
    QFETCH(QString, presses);
    QFETCH(QString, states);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    addLine(1, 2, u"Голубцы"_s);
    addLine(1, 2, u"Пельмени"_s);
    addLine(1, 2, u"Чай чёрный"_s);
    addLine(1, 2, u"Рис с овощами"_s, u"20, 5, DATEADD(-60 MINUTE TO CURRENT_TIMESTAMP), NULL"_s, 101);
    addLine(1, 3, u"Хлеб"_s);
    addLine(2, 3, u"Стейк"_s);
    Monitor m(m_db->name());
    Form_Main& main = m.main();
    Form_Detail& detail = m.detail();
    Form_Ready& ready = *m.forms().Ready;
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    QString seen;
    for (const QString& step : steps.split(u' ')) {
        const QString what = step.section(u':', 0, 0), arg = step.section(u':', 1);
        // A cook's pace: the touch guard lets each touch through.
        m.machine.clock.time = m.machine.clock.time.addMSecs(TouchGuard::Milliseconds);
        if (what == u"dish" || what == u"order") {
            m.openFrom(main.G1, [&] {
                m.machine.clock.time = m.machine.clock.time.addMSecs(TouchGuard::Milliseconds);
                if (what == u"dish")
                    QTest::mouseClick(detail.G->viewport(), Qt::LeftButton, {}, Monitor::rowOf(detail.G, u"Пельмени"_s));
                QTest::mouseClick(what == u"dish" ? detail.BtnStr : detail.BtnAll, Qt::LeftButton);
            }, Monitor::rowOf(main.G1, u"Голубцы"_s));
            m.machine.clock.time = m.machine.clock.time.addSecs(60);
        } else if (what == u"pos")
            m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE NAME_BLUDO LIKE '%2'"_s.arg(arg.left(1), arg.mid(2)));
        else if (what == u"Отменить")
            QTest::mouseClick(main.StripReady->BtnUndo, Qt::LeftButton);
        else if (what == u"recall") {
            QPointer<QTimer> waiting = whenShown(&ready, [&] {
                QStringList rows;
                for (int row = 0; row < ready.G->rowCount(); ++row) {
                    QStringList cells;
                    for (int column = 0; column < ready.G->columnCount(); ++column)
                        cells << ready.G->item(row, column)->text();
                    rows << cells.join(u' ');
                }
                seen = rows.join(u'|');
                QVERIFY(!ready.BtnBack->isEnabled()); // nothing is chosen for the cook
                m.machine.clock.time = m.machine.clock.time.addMSecs(TouchGuard::Milliseconds);
                if (arg.toInt() < ready.G->rowCount()) {
                    const QRect cell = ready.G->visualItemRect(ready.G->item(arg.toInt(), 3));
                    QTest::mouseClick(ready.G->viewport(), Qt::LeftButton, {}, cell.center());
                    QTest::mouseClick(ready.BtnBack, Qt::LeftButton);
                    QCOMPARE(ready.G->rowCount(), int(seen.count(u'|')) + (seen.isEmpty() ? 0 : 1) - 1);
                }
                ready.BtnExit->click();
            });
            QTest::mouseClick(main.BtnReady, Qt::LeftButton);
            delete waiting;
        }
    }
    QCOMPARE(seen, listed);
    QString found;
    for (const QString& dish : {u"Голубцы"_s, u"Пельмени"_s, u"Чай чёрный"_s, u"Хлеб"_s, u"Стейк"_s, u"Рис с овощами"_s})
        found += QString::number(stateOf(dish));
    QCOMPARE(found, states);
    QStringList kinds;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(Journal::shared().handle(), "SELECT kind FROM press ORDER BY id", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        kinds << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    QCOMPARE(kinds.join(u' '), presses);
    // The board was read again after the take-back.
    QCOMPARE(m.base().QZakaz.recordCount(), found.left(3).contains(u'2') ? 2 : 1);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
}

void TestOrderWindows::brokenJournalLeavesTheBoardAlone_data()
{
    QTest::addColumn<QString>("journal");
    QTest::addColumn<int>("announced"); // lines the journal recorded as announced
    QTest::newRow("sound") << QString() << 1;
    QTest::newRow("not a database") << u"garbage"_s << 1; // moved aside, begun anew
    QTest::newRow("cannot be created") << u"folder"_s << -1;
}

void TestOrderWindows::brokenJournalLeavesTheBoardAlone()
{
    QFETCH(QString, journal);
    QFETCH(int, announced);
    addLine(1, 1, u"Голубцы"_s);
    addLine(1, 2, u"Пельмени"_s);
    Monitor m(m_db->name(), {1});
    // The journal is opened when the windows are made: spoil it and make them again.
    m.windows.reset();
    const QString path = QDir(m.dir.path()).filePath(Journal::FileName);
    QFile::remove(path);
    if (journal == u"garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (journal == u"folder")
        QVERIFY(QDir(m.dir.path()).mkdir(Journal::FileName));
    m.windows = std::make_unique<ProgramWindows>(m.state, m.machine.platform());
    m.main().IdleTimer.stop();
    m.main().sectionBoxes()[0]->setChecked(true);
    m.poll();
    QCOMPARE(stateOf(u"Голубцы"_s), 2);
    m.refresh();
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    m.openFrom(m.main().G1, [&] {
        m.machine.clock.time = m.machine.clock.time.addMSecs(TouchGuard::Milliseconds);
        QTest::mouseClick(m.detail().BtnAll, Qt::LeftButton);
    });
    QCOMPARE(stateOf(u"Голубцы"_s), 3);
    QCOMPARE(stateOf(u"Пельмени"_s), 3);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
    int count = -1;
    if (sqlite3* db = Journal::shared().handle()) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM announced", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            count = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    QCOMPARE(count, announced);
    QCOMPARE(RecallList::entries(m.machine.clock.now()).size(), announced > 0 ? 1 : 0);
}

QTEST_MAIN(TestOrderWindows)
#include "TestOrderWindows.moc"
