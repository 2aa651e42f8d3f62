// The polling cycle against a real database, with the program's own windows: new lines
// announced and marked in the served sections only, the hot queue's three branches at their
// thresholds, failures, and two monitors on one database.

#include "AppState.h"
#include "FakeMachine.h"
#include "Form_Base.h"
#include "Form_Main.h"
#include "DataGrid.h"
#include "Form_Vid.h"
#include "PollingCycle.h"
#include "RadioGroup.h"
#include "ProgramWindows.h"
#include "MonitorRig.h"
#include "OrderRows.h"
#include "TestDatabase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// One monitor on the database, serving section 1 (the default) and 800 and 900.
struct Monitor : MonitorRig {
    using MonitorRig::MonitorRig;
    void poll() { polling().onTimer(); }
    QStringList hotQueue()
    {
        QStringList names;
        Query& q = base().QHot;
        for (int i = 0; i < q.recordCount(); ++i)
            names << *q.row(i)[size_t(q.fieldIndex(u"NAME_BLUDO"_s))].toText();
        return names;
    }

    FakeDialogs& dialogs = machine.dialogs;
    FakeSpeakerTone& speaker = machine.speaker;
};
}

class TestPollingCycle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newLinesInServedSections();
    void nothingNew();
    void otherHeldLineDoesNotStopMarking();
    void lineDuringAlertAnnouncedNextRun();
    void twoMonitorsMarkOnce();
    void silentAlertStillMarks();
    void failedPlaybackToldOnce();
    void hotQueueThresholds();
    void hotQueueFetchesMoreOnScroll();

private:
    // Lines of order 100 (open shift) or 200 (closed shift).
    void addLine(qint64 order, int section, int state, const QString& dish,
                 const QString& timing = OrderRows::FreshTiming)
    {
        m_rows->addLine(order, section, state, dish, timing);
    }
    int stateOf(const QString& dish) { return m_rows->stateOf(dish); }
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};

void TestPollingCycle::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, u"Петров Сергей"_s);
    m_rows->addOrder(100, 7);
    m_rows->addOrder(200, 8, {}, OrderRows::ClosedShift);
}

void TestPollingCycle::newLinesInServedSections()
{
    Monitor m(m_db->name());
    QVERIFY(m.dialogs.messages.isEmpty());
    addLine(100, 1, 1, u"Уха"_s, u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    addLine(100, 800, 1, u"Хлеб"_s);
    addLine(100, 900, 1, u"Чай"_s);
    addLine(100, 3, 1, u"Салат"_s); // not served here
    addLine(200, 1, 1, u"Из закрытой смены"_s, u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);

    m.poll();
    QCOMPARE(m.speaker.beeps.size(), 1); // one alert for all of them
    QCOMPARE(m.machine.screen.calls, QStringList{u"wake"_s}); // and a dark screen turned on
    QCOMPARE(stateOf(u"Уха"_s), 2);
    QCOMPARE(stateOf(u"Хлеб"_s), 2);
    QCOMPARE(stateOf(u"Чай"_s), 2);
    QCOMPARE(stateOf(u"Салат"_s), 1);
    QCOMPARE(stateOf(u"Из закрытой смены"_s), 2);
    // The closed shift's overdue dish reaches neither the hot queue nor the board.
    QCOMPARE(m.hotQueue(), QStringList{u"Уха"_s});
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 7, "_s);
    QCOMPARE(m.main().GroupBox2->title(), QString());
    QVERIFY(m.dialogs.messages.isEmpty());

    m.poll(); // nothing new any more
    QCOMPARE(m.speaker.beeps.size(), 1);
    QCOMPARE(m.machine.screen.calls.size(), 1);

    // Ticking section 3 takes effect at the next run.
    m.main().CB_S3->setChecked(true);
    m.poll();
    QCOMPARE(m.speaker.beeps.size(), 2);
    QCOMPARE(stateOf(u"Салат"_s), 2);
}

void TestPollingCycle::nothingNew()
{
    Monitor m(m_db->name());
    addLine(100, 1, 2, u"Уха"_s);
    m.poll();
    QVERIFY(m.speaker.beeps.isEmpty());
    QVERIFY(!m.base().TransactionBeep.inTransaction());
    QVERIFY(!m.base().QW.isPrepared()); // nothing was written
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 7, "_s); // the board was refreshed
    // Hot queue, probe, order list, the page's panels and the dishes in work, each prepared once
    // for the run.
    const int before = m.base().MyDB.requestCount();
    m.poll();
    QCOMPARE(m.base().MyDB.requestCount() - before, 5);
}

void TestPollingCycle::otherHeldLineDoesNotStopMarking()
{
    addLine(100, 1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    addLine(100, 1, 1, u"Котлета"_s);

    // The point of sale holds a shown line of the table in an unfinished transaction; the
    // monitor locks only the new lines it marks, so neither waits for the other.
    HeldLine held(m_db->name(), u"Уха"_s);

    m.poll();
    QCOMPARE(m.speaker.beeps.size(), 1);
    QCOMPARE(stateOf(u"Котлета"_s), 2);
    QVERIFY(m.dialogs.messages.isEmpty());
}

void TestPollingCycle::lineDuringAlertAnnouncedNextRun()
{
    Monitor m(m_db->name());
    addLine(100, 1, 1, u"Уха"_s);
    // The point of sale commits a line during the first beep: after the probe, before the marking.
    m.speaker.onBeep = [&] {
        if (m.speaker.beeps.size() == 1)
            addLine(100, 800, 1, u"Хлеб"_s);
    };
    m.poll();
    QCOMPARE(stateOf(u"Уха"_s), 2);
    QCOMPARE(stateOf(u"Хлеб"_s), 1); // not marked shown unannounced
    m.poll();
    QCOMPARE(m.speaker.beeps.size(), 2);
    QCOMPARE(stateOf(u"Хлеб"_s), 2);
}

void TestPollingCycle::twoMonitorsMarkOnce()
{
    Monitor first(m_db->name());
    Monitor second(m_db->name());
    addLine(100, 800, 1, u"Хлеб"_s);
    first.poll();
    second.poll();
    QCOMPARE(first.speaker.beeps.size(), 1);
    QCOMPARE(second.speaker.beeps.size(), 0);
    QCOMPARE(second.main().GroupBox1->title(), u"Петров Сергей, № 7, "_s);
}

void TestPollingCycle::silentAlertStillMarks()
{
    Monitor m(m_db->name());
    m.windows->forms().Vid->E_Amount->setText(u"много"_s); // edited, then the dialog cancelled
    addLine(100, 800, 1, u"Хлеб"_s);
    m.poll();
    QCOMPARE(stateOf(u"Хлеб"_s), 2);
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 7, "_s);
    QCOMPARE(m.dialogs.messages.size(), 1);
    addLine(100, 800, 1, u"Чай"_s);
    m.poll(); // the same problem is not told every five seconds
    QCOMPARE(stateOf(u"Чай"_s), 2);
    QCOMPARE(m.dialogs.messages.size(), 1);
}

void TestPollingCycle::failedPlaybackToldOnce()
{
    Monitor m(m_db->name());
    m.windows->forms().Vid->RadioGroup2->setItemIndex(1);
    m.machine.player.file = u"/tmp/звонок.mid"_s;
    addLine(100, 800, 1, u"Хлеб"_s);
    m.poll();
    QVERIFY(m.main().PanelSound->isVisibleTo(&m.main()));
    m.machine.player.fail(u"Нет декодера для audio/midi"_s);
    QVERIFY(!m.main().PanelSound->isVisibleTo(&m.main()));
    QTRY_COMPARE(m.dialogs.messages, QStringList{u"Нет декодера для audio/midi"_s});
    addLine(100, 800, 1, u"Чай"_s);
    m.poll(); // the player refuses the file again: not told again, and the dish is still shown
    QCOMPARE(stateOf(u"Чай"_s), 2);
    QVERIFY(!m.main().PanelSound->isVisibleTo(&m.main()));
    QTest::qWait(50);
    QCOMPARE(m.dialogs.messages.size(), 1);
}

void TestPollingCycle::hotQueueThresholds()
{
    // Without serving time: in while the minutes left are at most 1.2 x the alarm time (12).
    addLine(100, 1, 2, u"12.8 минут"_s, u"30, 10, DATEADD(-12 SECOND TO DATEADD(-17 MINUTE TO CURRENT_TIMESTAMP)), NULL"_s);
    addLine(100, 1, 2, u"13.8 минут"_s, u"30, 10, DATEADD(-12 SECOND TO DATEADD(-16 MINUTE TO CURRENT_TIMESTAMP)), NULL"_s);
    addLine(100, 1, 3, u"готово"_s, u"30, 10, DATEADD(-60 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    // With serving time and cooking time: in within 1.2 x the cooking time (12 minutes).
    addLine(100, 1, 2, u"подать через 11.5"_s, u"10, 3, CURRENT_TIMESTAMP, DATEADD(690 SECOND TO CURRENT_TIMESTAMP)"_s);
    addLine(100, 1, 2, u"подать через 12.5"_s, u"10, 3, CURRENT_TIMESTAMP, DATEADD(750 SECOND TO CURRENT_TIMESTAMP)"_s);
    addLine(100, 1, 2, u"подать, просрочено"_s, u"10, 3, CURRENT_TIMESTAMP, DATEADD(-5 MINUTE TO CURRENT_TIMESTAMP)"_s);
    // With serving time and no cooking time: in less than 15 minutes before it.
    addLine(100, 1, 2, u"без времени, 14.5"_s, u"NULL, 3, CURRENT_TIMESTAMP, DATEADD(870 SECOND TO CURRENT_TIMESTAMP)"_s);
    addLine(100, 1, 2, u"без времени, 15.5"_s, u"0, 3, CURRENT_TIMESTAMP, DATEADD(930 SECOND TO CURRENT_TIMESTAMP)"_s);
    // Neither time: never.
    addLine(100, 1, 2, u"никогда"_s, u"NULL, 3, DATEADD(-90 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    // Two identical rows are one.
    addLine(100, 1, 2, u"дважды"_s, u"10, 3, DATE '2026-01-01', TIMESTAMP '2026-01-01 10:00:00'"_s);
    addLine(100, 1, 2, u"дважды"_s, u"10, 3, DATE '2026-01-01', TIMESTAMP '2026-01-01 10:00:00'"_s);

    Monitor m(m_db->name());
    m.poll();
    QCOMPARE(m.hotQueue(), QStringList({u"дважды"_s, u"подать, просрочено"_s, u"подать через 11.5"_s,
                                        u"12.8 минут"_s, u"без времени, 14.5"_s}));
}

void TestPollingCycle::hotQueueFetchesMoreOnScroll()
{
    const int lines = PollingCycle::HotRows + 5;
    for (int i = 0; i < lines; ++i)
        addLine(100, 1, 2, u"просрочено %1"_s.arg(i, 2, 10, QChar(u'0')),
                u"10, 3, DATEADD(-%1 MINUTE TO CURRENT_TIMESTAMP), NULL"_s.arg(60 - i));
    Monitor m(m_db->name());
    m.main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m.main()));
    m.poll();
    QCOMPARE(m.hotQueue().size(), PollingCycle::HotRows); // the earliest due
    QCOMPARE(m.hotQueue().front(), u"просрочено 00"_s);
    QScrollBar* bar = m.main().GHot->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    const int scrolled = bar->maximum();
    bar->setValue(scrolled);
    QCOMPARE(m.hotQueue().size(), lines);
    QCOMPARE(m.hotQueue().back(), u"просрочено 24"_s);
    QCoreApplication::processEvents();
    QCOMPARE(bar->value(), scrolled); // the grid stays where the cook scrolled to
    // The next runs keep them all; at the end of all there is nothing more to ask for.
    m.poll();
    QCOMPARE(m.hotQueue().size(), lines);
    bar->setValue(bar->maximum());
    QCOMPARE(m.polling().hotRows(), 2 * PollingCycle::HotRows);
}

QTEST_MAIN(TestPollingCycle)
#include "TestPollingCycle.moc"
