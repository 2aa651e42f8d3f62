// The dishes in work against a real database: the all-day rows of repeated dishes in and out of
// the served sections, in every state, across orders and shifts (their totals read back by a
// statement of the test's own), and what the journal learns from the polls: lines ready or taken
// back elsewhere, and the shift's summary when the shift closes or at midnight.

#include "AppState.h"
#include "Settings.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSoundPlayer.h"
#include "Form_Base.h"
#include "Form_Util.h"
#include "Journal.h"
#include "JournalStats.h"
#include "KitchenWork.h"
#include "OrderRows.h"
#include "TestDatabase.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Urgency = TimingColours::Urgency;

namespace {
QStringList logged;

// A line given START_TIME `age` minutes ago; MY_TIME 20, MY_ALARM 5 unless given.
void addLine(TestDatabase& db, qint64 order, int section, int state, const QString& dish, int age, double quantity = 1,
             const QString& timing = u"20, 5"_s, const QString& end = u"NULL"_s)
{
    db.exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM, START_TIME,"
            " END_TIME) VALUES (%1, %2, %3, :D, %4, %5, DATEADD(%6 MINUTE TO CURRENT_TIMESTAMP), %7)"_s
                .arg(order).arg(section).arg(state).arg(quantity).arg(timing).arg(-age).arg(end),
            {{u"D"_s, DbValue::text(dish)}});
}

QString urgencyText(Urgency u)
{
    return u == Urgency::Late ? u"late"_s : u == Urgency::Due ? u"due"_s : u"-"_s;
}

struct Monitor {
    explicit Monitor(TestDatabase& db)
    {
        state.settingsFolder = dir.path();
        base = std::make_unique<Form_Base>(settings, util, dialogs, player);
        base->MyDB.DatabaseName = db.name();
        base->MyDB.open();
        QVERIFY(journal.open(dir.path(), &clock));
        work = std::make_unique<KitchenWork>(*base, journal);
    }
    QTemporaryDir dir;
    AppState state;
    Settings settings{dir.path()};
    FakeDialogs dialogs;
    FakeSoundPlayer player;
    FakeClock clock;
    Form_Util util{clock};
    std::unique_ptr<Form_Base> base;
    Journal journal;
    std::unique_ptr<KitchenWork> work;
};
}

class TestKitchenWork : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void allDay_data();
    void allDay();
    void wholeKitchen();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestKitchenWork::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    OrderRows rows(*m_db, u"Иванова Анна"_s);
    rows.addOrder(101, 1, u"Стол 5"_s);
    rows.addOrder(102, 2, u"Стол 7"_s);
    rows.addOrder(103, 3, u"Стол 9"_s, OrderRows::ClosedShift);
    rows.addOrder(104, 0, u"Персонал"_s); // a service order: never in the kitchen's work
    rows.addOrder(105, 5, u"Стол 1"_s);
    TestDatabase& db = *m_db;
    addLine(db, 101, 1, 2, u"Плов"_s, 30);        // late
    addLine(db, 101, 1, 2, u"Плов"_s, 5);         // the same dish twice in one order
    addLine(db, 101, 2, 2, u"Плов"_s, 10);
    addLine(db, 101, 1, 3, u"Плов"_s, 50);        // ready
    addLine(db, 101, 1, 1, u"Плов"_s, 0);         // not yet announced
    addLine(db, 101, 4, 2, u"Плов"_s, 60);        // a section never ticked here
    addLine(db, 101, 800, 2, u"Чай"_s, 2, 3, u"0, 0"_s); // no cooking time
    addLine(db, 102, 1, 2, u"Плов"_s, 12, 2);
    addLine(db, 102, 900, 2, u"Борщ"_s, 17);      // 2 minutes left, within the alarm: due
    addLine(db, 102, 3, 2, u"Борщ"_s, 1, 0.5);
    addLine(db, 103, 1, 2, u"Плов"_s, 40);        // a closed shift
    addLine(db, 104, 1, 2, u"Плов"_s, 45);
    addLine(db, 105, 1, 2, u"Стейк"_s, 3, 1, u"20, 5"_s, u"DATEADD(-1 MINUTE TO CURRENT_TIMESTAMP)"_s); // past its serving time
}

void TestKitchenWork::allDay_data()
{
    QTest::addColumn<ServedSections>("served");
    QTest::addColumn<QString>("dishes");  // dish quantity orders minutes urgency, the most urgent and oldest first
    QTest::addColumn<QString>("orders");  // the first dish's: number table quantity minutes
    QTest::newRow("800 and 900 only") << ServedSections{} << u"Борщ 1 1 17 due|Чай 3 1 2 -"_s << u"2 Стол 7 1 17"_s;
    QTest::newRow("section 1") << ServedSections{true} << u"Плов 4 2 30 late|Стейк 1 1 3 late|Борщ 1 1 17 due|Чай 3 1 2 -"_s
                               << u"1 Стол 5 2 30|2 Стол 7 2 12"_s;
    QTest::newRow("sections 1 to 3") << ServedSections{true, true, true}
                                     << u"Плов 5 2 30 late|Стейк 1 1 3 late|Борщ 1.5 1 17 due|Чай 3 1 2 -"_s
                                     << u"1 Стол 5 3 30|2 Стол 7 2 12"_s;
}

void TestKitchenWork::allDay()
{
    QFETCH(ServedSections, served);
    QFETCH(QString, dishes);
    QFETCH(QString, orders);
    Monitor monitor(*m_db);
    monitor.work->refresh(served, monitor.clock.now());
    const QList<KitchenWork::Dish> rows = monitor.work->allDay();
    QStringList got;
    for (const KitchenWork::Dish& d : rows)
        got << u"%1 %2 %3 %4 %5"_s.arg(d.dish).arg(d.quantity).arg(d.orders.size()).arg(d.minutes).arg(urgencyText(d.urgency));
    QCOMPARE(got.join(u'|'), dishes);
    QStringList firstOrders;
    for (const KitchenWork::Order& o : rows.first().orders)
        firstOrders << u"%1 %2 %3 %4"_s.arg(o.number, o.table).arg(o.quantity).arg(o.minutes);
    QCOMPARE(firstOrders.join(u'|'), orders);

    // The totals against the test's own statement over the same lines.
    QStringList sections{u"800"_s, u"900"_s};
    for (int i = 0; i < 5; ++i)
        if (served[size_t(i)])
            sections << QString::number(i + 1);
    for (const KitchenWork::Dish& d : rows) {
        const QString where = u" FROM ZAKAZ_STR S JOIN ZAKAZ Z ON Z.KOD = S.KOD_ZAKAZ JOIN SMENA ON SMENA.KOD = Z.KOD_SMENA"
                              " WHERE SMENA.STATUS < 10 AND Z.NUMBER_ZAKAZ > 0 AND S.PRINT_SECTION = 2 AND S.SECTION IN (%1)"
                              " AND S.NAME_BLUDO = '%2'"_s.arg(sections.join(u','), d.dish);
        QCOMPARE(d.quantity, m_db->value(u"SELECT SUM(S.KOLVO)"_s + where).toDouble().value_or(-1));
        QCOMPARE(qint64(d.orders.size()), m_db->value(u"SELECT COUNT(DISTINCT S.KOD_ZAKAZ)"_s + where).toInt64().value_or(-1));
    }
}

void TestKitchenWork::wholeKitchen()
{
    TestDatabase db;
    QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
    OrderRows rows(db, u"Иванова Анна"_s);
    rows.addOrder(201, 11, u"Стол 2"_s);
    const QStringList dishes{u"Плов"_s, u"Лагман"_s, u"Манты"_s, u"Шурпа"_s, u"Самса"_s};
    for (const QString& dish : dishes)
        addLine(db, 201, 1, 2, dish, 10);
    const QDateTime noon(QDate(2026, 12, 7), QTime(12, 0));
    db.exec(u"UPDATE ZAKAZ_STR SET START_TIME = '2026-12-07 11:50:00'"_s);
    const auto key = [&](const QString& dish) {
        return *db.value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = '%1'"_s.arg(dish)).toInt64();
    };
    const auto set = [&](const QString& what, const QString& dish) {
        db.exec(u"UPDATE ZAKAZ_STR SET %1 WHERE NAME_BLUDO = '%2'"_s.arg(what, dish));
    };
    Monitor monitor(db);
    Journal& journal = monitor.journal;
    KitchenWork& work = *monitor.work;
    const ServedSections served{true};
    const auto poll = [&](int minute) {
        monitor.clock.time = noon.addSecs(60 * minute);
        work.refresh(served, monitor.clock.time);
    };
    const auto figures = [&] {
        const JournalStats::Day day = JournalStats::day(journal.handle(), noon.date(), {});
        return u"%1 here, %2 elsewhere"_s.arg(day.total.own).arg(day.total.elsewhere);
    };
    QSignalSpy changed(&work, &KitchenWork::changed);
    poll(0);
    QCOMPARE(work.lines().size(), 5);
    QCOMPARE(work.came().size(), 5);
    QCOMPARE(changed.size(), 1);
    poll(1);
    QCOMPARE(changed.size(), 1); // nothing changed, nothing said

    // Another kitchen marks Плов; this monitor's press marks Лагман; Манты go to a section not
    // served here, Шурпа is deleted at the till. Only Плов was ready elsewhere.
    set(u"PRINT_SECTION = 3"_s, u"Плов"_s);
    set(u"PRINT_SECTION = 3"_s, u"Лагман"_s);
    Journal::Line own;
    own.line = key(u"Лагман"_s);
    own.dish = u"Лагман"_s;
    own.section = 1;
    own.start = noon.addSecs(-600);
    own.due = noon.addSecs(600);
    monitor.clock.time = noon.addSecs(60);
    QVERIFY(journal.action(Journal::Kind::DishReady, {own}) != 0);
    set(u"SECTION = 2"_s, u"Манты"_s);
    db.exec(u"DELETE FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Шурпа'"_s);
    poll(2);
    QCOMPARE(work.left().size(), 4);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(figures(), u"1 here, 1 elsewhere"_s);
    const QList<Journal::Press> recall = journal.readyPresses(noon);
    QCOMPARE(recall.size(), 1); // the recall list keeps this monitor's presses only
    QCOMPARE(recall.first().lines.first().dish, u"Лагман"_s);

    // Another kitchen takes Плов back, and then marks it again.
    set(u"PRINT_SECTION = 2"_s, u"Плов"_s);
    poll(3);
    QCOMPARE(work.came(), QList<qint64>{key(u"Плов"_s)});
    QCOMPARE(figures(), u"1 here, 0 elsewhere"_s);
    set(u"PRINT_SECTION = 3"_s, u"Плов"_s);
    poll(4);
    QCOMPARE(figures(), u"1 here, 1 elsewhere"_s);

    // The shift closes: its summary, once, in the log; then a new shift stays open past midnight.
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& line) { logged << line; });
    db.exec(u"UPDATE SMENA SET STATUS = 10 WHERE KOD = %1"_s.arg(OrderRows::OpenShift));
    poll(5);
    poll(6);
    db.exec(u"INSERT INTO SMENA (KOD, STATUS) VALUES (12, 1)"_s);
    poll(12 * 60 - 1);
    poll(12 * 60 + 1);
    poll(12 * 60 + 2);
    qInstallMessageHandler(previous);
    QCOMPARE(logged.filter(u"shift summary"_s),
             QStringList({u"shift summary (shift closed): 2 dishes cooked (1 here, 1 elsewhere), median 12.5 min, p90 13.7 min,"
                          " 0 late, busiest hour 12:00-13:00 (2 dishes)"_s,
                          u"shift summary (midnight): 0 dishes cooked (0 here, 0 elsewhere)"_s}));
    QCOMPARE(work.lines().size(), 0);
    QCOMPARE(journal.summarisedUntil(), QDateTime(noon.date().addDays(1), QTime(0, 0)));
}

QTEST_GUILESS_MAIN(TestKitchenWork)
#include "TestKitchenWork.moc"
