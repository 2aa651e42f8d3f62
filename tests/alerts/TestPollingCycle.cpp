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
#include "QueryModel.h"
#include "RadioGroup.h"
#include "ProgramWindows.h"
#include "MonitorRig.h"
#include "OrderBoard.h"
#include "OrderRows.h"
#include "TestDatabase.h"

#include "Journal.h"
#include <QDir>
#include <QFile>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
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
    void restartLooksAboveItsLastBounds();
    void hotQueueFetchesMoreOnScroll();
    void skippedRunShowsWhatAFullReadShows_data();
    void skippedRunShowsWhatAFullReadShows();

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
    // The closed shift's line comes with the search through every shift, which runs beside.
    QVERIFY(m.polling().searching());
    m.searchTaken();
    QCOMPARE(m.polling().lastLook(), NewLineProbe::Look::NewKeys);
    QCOMPARE(stateOf(u"Из закрытой смены"_s), 2);
    QCOMPARE(m.speaker.beeps.size(), 2); // nothing the first poll announced is announced again
    // The closed shift's overdue dish reaches neither the hot queue nor the board.
    QCOMPARE(m.hotQueue(), QStringList{u"Уха"_s});
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 7, "_s);
    QCOMPARE(m.main().GroupBox2->title(), QString());
    QVERIFY(m.dialogs.messages.isEmpty());

    m.poll(); // nothing new any more
    QCOMPARE(m.speaker.beeps.size(), 2);

    // Ticking section 3 takes effect at the next run.
    m.main().CB_S3->setChecked(true);
    m.poll();
    QCOMPARE(m.speaker.beeps.size(), 3);
    QCOMPARE(stateOf(u"Салат"_s), 2);
    m.searchTaken(); // the new sections' search finds nothing more
    QCOMPARE(m.speaker.beeps.size(), 3);
}

void TestPollingCycle::nothingNew()
{
    Monitor m(m_db->name());
    addLine(100, 1, 2, u"Уха"_s);
    m.poll();
    m.searchTaken();
    QVERIFY(m.speaker.beeps.isEmpty());
    QVERIFY(!m.base().TransactionBeep.inTransaction());
    QVERIFY(!m.base().QW.isPrepared()); // nothing was written
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 7, "_s); // the board was refreshed
    // Nothing changed: the probe's one request, and the board as it was.
    const int before = m.base().MyDB.requestCount();
    const int skipped = m.polling().skippedRuns();
    m.poll();
    QCOMPARE(m.base().MyDB.requestCount() - before, 1);
    QCOMPARE(m.polling().skippedRuns(), skipped + 1);
    // Read in full: hot queue, probe, order list and the page's panels and the dishes in work,
    // each prepared once.
    m.polling().readAllNext();
    const int full = m.base().MyDB.requestCount();
    m.poll();
    QCOMPARE(m.base().MyDB.requestCount() - full, 5);
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

// A restart reads where its last run's looks reached from its journal and looks above that,
// not through every shift's history; other sections than those searched are searched in full.
void TestPollingCycle::restartLooksAboveItsLastBounds()
{
    QTemporaryDir kept;
    {
        Monitor first(m_db->name());
        first.poll();
        QVERIFY(first.polling().searching()); // no bounds: every shift is searched
        first.searchTaken();
        first.windows.reset(); // the journal closes
        QVERIFY(QFile::copy(QDir(first.dir.path()).filePath(Journal::FileName), kept.filePath(Journal::FileName)));
    }
    addLine(200, 1, 1, u"Из закрытой смены"_s);
    auto withJournal = [&](const QString& folder) {
        QFile::copy(kept.filePath(Journal::FileName), QDir(folder).filePath(Journal::FileName));
    };
    Monitor second(m_db->name(), withJournal);
    second.poll();
    QCOMPARE(second.polling().lastLook(), NewLineProbe::Look::NewKeys);
    QCOMPARE(stateOf(u"Из закрытой смены"_s), 2);
    QCOMPARE(second.speaker.beeps.size(), 1);

    // Section 3 was never searched: every shift is.
    Monitor third(m_db->name(), [&](const QString& folder) {
        withJournal(folder);
        QFile section(QDir(folder).filePath(u"Section.txt"_s));
        QVERIFY(section.open(QIODevice::WriteOnly));
        section.write("3\r\n");
    });
    third.poll();
    QVERIFY(third.polling().searching());
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

namespace {
// What the board shows: the order list, the panels, the hot queue and the paging buttons.
QStringList boardShown(Monitor& m)
{
    QStringList shown;
    auto rows = [&](const Query* q, const QString& name) {
        shown << name;
        if (!q || !q->isOpen())
            return;
        // The minutes left turn with the clock, between any two reads: the "minute turns" row
        // follows them.
        const int left = q->fieldIndex(u"ALL_TIME"_s);
        for (int i = 0; i < q->recordCount(); ++i) {
            QStringList row;
            for (size_t c = 0; c < q->row(i).size(); ++c) {
                const DbValue& v = q->row(i)[c];
                if (int(c) != left)
                    row << (v.isNull() ? u"<null>"_s : v.toText().value_or(QString()));
            }
            shown << row.join(u'|');
        }
    };
    OrderBoard& board = m.main().board();
    rows(board.orderList(), u"list"_s);
    for (int i = 0; i < 6; ++i) {
        rows(board.panelQuery(i), m.main().panels()[size_t(i)]->title());
    }
    rows(&m.base().QHot, u"hot"_s);
    shown << m.main().BtnPrev->text() << m.main().BtnNext->text();
    return shown;
}

// Every kind of change the point of sale, another monitor or an administrator makes to what the
// board shows, or to what it does not show.
const QStringList changes{
    u"new"_s, u"ready"_s, u"back"_s, u"quantity"_s, u"serving time"_s, u"same value"_s, u"changed and back"_s,
    u"order"_s, u"waiter"_s, u"order leaves shift"_s, u"order returns"_s, u"shift closes"_s, u"shift opens"_s,
    u"line deleted"_s, u"section unserved"_s, u"section served"_s, u"unserved line"_s, u"nothing"_s,
};
}

void TestPollingCycle::skippedRunShowsWhatAFullReadShows_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("each once") << changes;
    for (quint32 seed : {1u, 2u}) {
        QRandomGenerator random(seed);
        QStringList steps;
        for (int i = 0; i < 14; ++i)
            steps << changes[random.bounded(int(changes.size()))];
        QTest::addRow("random %u", seed) << steps;
    }
    // A line comes due by the server's clock alone; a line's minutes left turn.
    QTest::newRow("comes due") << QStringList{u"due in a second"_s};
    QTest::newRow("minute turns") << QStringList{u"turns in a second"_s};
    // The point of sale's garbage is collected while the monitor runs: the marking keeps no
    // transaction of its own open between runs.
    QTest::newRow("marking holds nothing back") << QStringList{u"new"_s, u"nothing"_s, u"horizon"_s};
}

// A run that finds nothing changed leaves the board as it is; after every change, the board
// must equal what a full read gives.
void TestPollingCycle::skippedRunShowsWhatAFullReadShows()
{
    QFETCH(QStringList, steps);
    m_rows->addOrder(300, 9);
    m_db->exec(u"INSERT INTO PERSON (KOD, FIO) VALUES (2, 'Иванова Анна')"_s);
    m_db->exec(u"UPDATE ZAKAZ SET KOD_PERSON = 2 WHERE KOD = 300"_s);
    addLine(100, 1, 2, u"Уха"_s);
    addLine(100, 800, 3, u"Хлеб"_s, u"0, 5, CURRENT_TIMESTAMP, DATEADD(5 MINUTE TO CURRENT_TIMESTAMP)"_s);
    addLine(300, 1, 2, u"Плов"_s, u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    addLine(300, 3, 2, u"Компот"_s);
    Monitor m(m_db->name());
    m.poll();
    int added = 0;
    const QString firstShown = u"(SELECT MIN(KOD) FROM ZAKAZ_STR WHERE PRINT_SECTION = %1)"_s;
    for (const QString& step : std::as_const(steps)) {
        if (step == u"new") {
            ++added;
            addLine(added % 2 ? 100 : 300, 1, 1, u"Новое %1"_s.arg(added));
        } else if (step == u"ready")
            m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE KOD = "_s + firstShown.arg(2));
        else if (step == u"back")
            m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE KOD = "_s + firstShown.arg(3));
        else if (step == u"quantity")
            m_db->exec(u"UPDATE ZAKAZ_STR SET KOLVO = KOLVO + 1 WHERE KOD = (SELECT MAX(KOD) FROM ZAKAZ_STR)"_s);
        else if (step == u"serving time")
            m_db->exec(u"UPDATE ZAKAZ_STR SET END_TIME = DATEADD(3 MINUTE TO CURRENT_TIMESTAMP) WHERE KOD = "_s
                       + firstShown.arg(2));
        else if (step == u"same value")
            m_db->exec(u"UPDATE ZAKAZ_STR SET KOLVO = KOLVO"_s);
        else if (step == u"changed and back") {
            m_db->exec(u"UPDATE ZAKAZ_STR SET KOLVO = KOLVO + 5"_s);
            m_db->exec(u"UPDATE ZAKAZ_STR SET KOLVO = KOLVO - 5"_s);
        } else if (step == u"order")
            m_db->exec(u"UPDATE ZAKAZ SET NUMBER_ZAKAZ = NUMBER_ZAKAZ + 10, INFO_ZAKAZ = 'стол 4' WHERE KOD = 100"_s);
        else if (step == u"waiter")
            m_db->exec(u"UPDATE PERSON SET FIO = FIO || '!' WHERE KOD = 2"_s);
        else if (step == u"order leaves shift")
            m_db->exec(u"UPDATE ZAKAZ SET KOD_SMENA = %1 WHERE KOD = 300"_s.arg(OrderRows::ClosedShift));
        else if (step == u"order returns")
            m_db->exec(u"UPDATE ZAKAZ SET KOD_SMENA = %1 WHERE KOD = 300"_s.arg(OrderRows::OpenShift));
        else if (step == u"shift closes")
            m_db->exec(u"UPDATE SMENA SET STATUS = 10 WHERE KOD = %1"_s.arg(OrderRows::OpenShift));
        else if (step == u"shift opens")
            m_db->exec(u"UPDATE SMENA SET STATUS = 1 WHERE KOD = %1"_s.arg(OrderRows::OpenShift));
        else if (step == u"line deleted")
            m_db->exec(u"DELETE FROM ZAKAZ_STR WHERE KOD = (SELECT MAX(KOD) FROM ZAKAZ_STR WHERE SECTION = 1)"_s);
        else if (step == u"section unserved")
            m_db->exec(u"UPDATE ZAKAZ_STR SET SECTION = 3 WHERE KOD = (SELECT MIN(KOD) FROM ZAKAZ_STR WHERE SECTION = 1)"_s);
        else if (step == u"section served")
            m_db->exec(u"UPDATE ZAKAZ_STR SET SECTION = 1 WHERE KOD = (SELECT MIN(KOD) FROM ZAKAZ_STR WHERE SECTION = 3)"_s);
        else if (step == u"unserved line")
            addLine(300, 4, 2, u"Не здесь %1"_s.arg(++added));
        else if (step == u"due in a second") {
            // Due in the hot queue 15 minutes before its serving time, which is a second later.
            addLine(100, 1, 2, u"Скоро"_s, u"0, 5, CURRENT_TIMESTAMP, DATEADD(901 SECOND TO CURRENT_TIMESTAMP)"_s);
            m.poll();
            QVERIFY(!m.hotQueue().contains(u"Скоро"_s));
            QTRY_VERIFY((m.poll(), m.hotQueue().contains(u"Скоро"_s)));
        } else if (step == u"horizon") {
            // A write committed after the marking; then no transaction older than it is active.
            m_db->exec(u"UPDATE PERSON SET FIO = FIO WHERE KOD = 2"_s);
            const qint64 after = *m_db->value(u"SELECT CURRENT_TRANSACTION FROM RDB$DATABASE"_s).toInt64();
            m.poll();
            const QString held = u"SELECT CAST(LIST(MON$TRANSACTION_ID || ' autocommit ' || MON$AUTO_COMMIT) "
                                 "AS VARCHAR(2000)) FROM MON$TRANSACTIONS "
                                 "WHERE MON$READ_ONLY = 0 AND MON$TRANSACTION_ID < %1"_s.arg(after);
            const QString oldest = u"SELECT MINVALUE(MON$OLDEST_ACTIVE, MON$OLDEST_SNAPSHOT) FROM MON$DATABASE"_s;
            QVERIFY2(*m_db->value(oldest).toInt64() > after,
                     qPrintable(m_db->value(held).toText().value_or(u"none"_s)));
        } else if (step == u"turns in a second") {
            // Due 20 minutes after its start, a second from now: its minutes left go from 0 to -1.
            addLine(100, 1, 2, u"Тикает"_s, u"20, 5, DATEADD(-1199 SECOND TO CURRENT_TIMESTAMP), NULL"_s);
            // The minutes left as read (ALL_TIME) and as the panel shows them.
            auto left = [&](bool shown) {
                const Query& q = *m.main().board().panelQuery(0);
                QueryModel* model = m.main().board().panelModel(0);
                for (int i = 0; q.isOpen() && i < q.recordCount(); ++i)
                    if (q.row(i)[size_t(q.fieldIndex(u"NAME_BLUDO"_s))].toText() == u"Тикает"_s) {
                        if (!shown)
                            return q.row(i)[size_t(q.fieldIndex(u"ALL_TIME"_s))].toInt64().value_or(99);
                        QString text = model->data(model->index(i, 2), Qt::DisplayRole).toString();
                        return text.remove(u'!').replace(QChar(0x2212), u'-').toLongLong();
                    }
                return qint64(99);
            };
            m.poll();
            QVERIFY(left(true) >= 0 && left(false) >= 0);
            // The turn shows from the rows held: the runs meanwhile end after their probe.
            const int skipped = m.polling().skippedRuns();
            QTRY_VERIFY((m.poll(), left(true) < 0));
            QVERIFY(left(false) >= 0);
            QVERIFY(m.polling().skippedRuns() > skipped);
        }
        m.poll();
        const QStringList afterRun = boardShown(m);
        m.polling().readAllNext();
        m.poll();
        QCOMPARE(afterRun, boardShown(m));
        // Nothing changed since: the next run ends after its probe, and the board stays.
        const int skipped = m.polling().skippedRuns();
        m.poll();
        QCOMPARE(m.polling().skippedRuns(), skipped + 1);
        QCOMPARE(boardShown(m), afterRun);
    }
    QVERIFY(m.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestPollingCycle)
#include "TestPollingCycle.moc"
