// The statements tuned for databases with a long history against their reference texts, on a
// generated database whose rows mix every case the texts tell apart: open and closed shifts,
// states 1 to 3 and odd ones, served and unserved sections, nulls, serving times around now,
// orders without a number, a waiter or a shift. Both texts must give the same rows.

#include "BoardSql.h"
#include "JournalLines.h"
#include "NewLineProbe.h"
#include "PollingSql.h"
#include "ReferenceSql.h"
#include "TestDatabase.h"

#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
using Rows = QList<QStringList>;

const ServedSections noBox{}, boxes1And3{true, false, true}, allBoxes{true, true, true, true, true};
}

class TestStatementEquivalence : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void orderList_data();
    void orderList();
    void orderPage_data();
    void orderPage();
    void hotQueue_data();
    void hotQueue();
    void panels_data();
    void panels();
    void page_data();
    void page();
    void newLines_data();
    void newLines();

private:
    using Params = std::vector<std::pair<QString, DbValue>>;
    Rows rows(const QStringList& sql, const Params& params = {});
    static Rows rows(const Query& q);
    // Runs both texts; a minute turning between them changes ALL_TIME, so a difference is
    // looked at again once before it counts. With sortColumn, that column's order counts too.
    // The tuned text's keys are bound: params.
    void compare(const QStringList& reference, const QStringList& tuned, bool ordered, int sortColumn = -1,
                 const Params& params = {});

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_reader;
    std::unique_ptr<Transaction> m_read;
};

void TestStatementEquivalence::initTestCase()
{
    m_db = std::make_unique<TestDatabase>(false, 6000);
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    // A quarter of the year's shifts open again, with statuses on both sides of 10.
    m_db->exec(u"UPDATE SMENA SET STATUS = IIF(MOD(NUMBER_SMENA, 4) = 0, MOD(NUMBER_SMENA, 10), 10 + MOD(NUMBER_SMENA, 3))"_s);
    // Orders without a number, with a negative one, without a waiter or a shift.
    m_db->exec(u"UPDATE ZAKAZ SET NUMBER_ZAKAZ = DECODE(MOD(KOD, 17), 0, NULL, 1, -3, NUMBER_ZAKAZ),"
               " KOD_PERSON = IIF(MOD(KOD, 23) = 0, NULL, KOD_PERSON), KOD_SMENA = IIF(MOD(KOD, 29) = 0, NULL, KOD_SMENA)"_s);
    // Times around now, so that every branch of the hot queue meets lines on both sides of its
    // threshold; serving times on a fifth of the lines; states and sections of every kind.
    m_db->exec(u"UPDATE ZAKAZ_STR SET"
               " START_TIME = DATEADD(-MOD(KOD, 90) MINUTE TO CURRENT_TIMESTAMP),"
               " END_TIME = IIF(MOD(KOD, 5) = 0, DATEADD(MOD(KOD * 7, 60) - 20 MINUTE TO CURRENT_TIMESTAMP), NULL),"
               " MY_ALARM = IIF(MOD(KOD, 31) = 0, NULL, MY_ALARM),"
               " PRINT_SECTION = DECODE(MOD(KOD, 13), 0, NULL, 1, 0, 2, 1, 3, 4, 4, 1, PRINT_SECTION),"
               " SECTION = DECODE(MOD(KOD * 3, 11), 0, NULL, 1, 6, 2, 7, SECTION)"_s);
    // Two lines equal in every column the hot queue reads, which its UNION makes one row.
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME, MY_ALARM, START_TIME)"
               " SELECT FIRST 1 Z.KOD, 'Двойник', 1, 2, 800, 10, 3, TIMESTAMP '2020-01-01 12:00' FROM ZAKAZ Z"
               " JOIN SMENA S ON S.KOD = Z.KOD_SMENA WHERE S.STATUS < 10 AND Z.KOD_PERSON IS NOT NULL"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME, MY_ALARM, START_TIME)"
               " SELECT KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME, MY_ALARM, START_TIME FROM ZAKAZ_STR"
               " WHERE NAME_BLUDO = 'Двойник'"_s);
    // A line of an order that does not exist.
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME)"
               " VALUES (1, 'Сирота', 1, 2, 800, 5)"_s);

    m_reader = std::make_unique<Database>();
    m_reader->DatabaseName = m_db->name();
    m_reader->Params = TestDatabase::params();
    m_reader->open();
    m_read = std::make_unique<Transaction>(*m_reader, QStringList{u"read_committed"_s, u"rec_version"_s, u"nowait"_s});

    // The mix holds what the statements tell apart.
    QVERIFY(rows({u"SELECT KOD FROM ZAKAZ_STR WHERE PRINT_SECTION IS NULL OR SECTION IS NULL"_s}).size() > 100);
    QVERIFY(rows(ReferenceSql::orderList(true, allBoxes)).size() > 50);
}

void TestStatementEquivalence::cleanupTestCase()
{
    m_read.reset();
    m_reader.reset();
    m_db.reset();
}

Rows TestStatementEquivalence::rows(const QStringList& sql, const Params& params)
{
    Query q(*m_reader, *m_read);
    PosStatement{sql, params}.bindTo(q);
    q.open();
    return rows(q);
}

Rows TestStatementEquivalence::rows(const Query& q)
{
    Rows result;
    for (int i = 0; i < q.recordCount(); ++i) {
        QStringList row;
        for (const DbValue& v : q.row(i))
            row << (v.isNull() ? u"<null>"_s : QString::number(int(v.type())) + u':' + v.toText().value_or(QString()));
        result << row;
    }
    return result;
}

void TestStatementEquivalence::compare(const QStringList& reference, const QStringList& tuned, bool ordered,
                                       int sortColumn, const Params& params)
{
    QVERIFY(reference != tuned);
    for (int attempt = 0; attempt < 2; ++attempt) {
        Rows expected = rows(reference), actual = rows(tuned, params);
        for (Rows* r : {&expected, &actual}) {
            QStringList column; // the sort column in the rows' own order, after them
            for (const QStringList& row : *r)
                column << (sortColumn >= 0 ? row[sortColumn] : QString());
            if (!ordered)
                std::sort(r->begin(), r->end());
            r->append(column);
        }
        if (expected == actual || attempt == 1) {
            QCOMPARE(actual, expected);
            return;
        }
    }
}

void TestStatementEquivalence::orderList_data()
{
    QTest::addColumn<bool>("allOrders");
    QTest::addColumn<ServedSections>("served");
    for (bool all : {false, true}) {
        const char* mode = all ? "all orders" : "unfulfilled";
        QTest::addRow("%s, no box", mode) << all << noBox;
        QTest::addRow("%s, boxes 1 and 3", mode) << all << boxes1And3;
        QTest::addRow("%s, every box", mode) << all << allBoxes;
    }
}

void TestStatementEquivalence::orderList()
{
    QFETCH(bool, allOrders);
    QFETCH(ServedSections, served);
    // Sorted by every column that can differ, so the order is part of the result.
    compare(ReferenceSql::orderList(allOrders, served), BoardSql::orderList(allOrders, served), true);
}

void TestStatementEquivalence::orderPage_data()
{
    orderList_data();
}

// The page with its neighbours, the chosen order and the last, numbered by their places in the
// whole list, and the number of all: every page, and places beyond the list's end.
void TestStatementEquivalence::orderPage()
{
    QFETCH(bool, allOrders);
    QFETCH(ServedSections, served);
    const Rows all = rows(ReferenceSql::orderList(allOrders, served));
    const int count = int(all.size());
    QVERIFY2(count > 7, qPrintable(QString::number(count))); // more than a page
    const QString chosen = all[count / 2][1].section(u':', 1);
    for (int first = 1; first <= count + 13; first += 6) {
        for (const QString& c : {QString(), chosen, u"-5"_s}) {
            const Rows page = rows(BoardSql::orderPage(allOrders, served),
                                   {{u"LO"_s, DbValue::integer(first - 1)}, {u"HI"_s, DbValue::integer(first + 6)},
                                    {u"C"_s, c.isEmpty() ? DbValue() : DbValue::integer(c.toLongLong())}});
            Rows expected;
            for (int i = 0; i < count; ++i)
                if ((i + 1 >= first - 1 && i + 1 <= first + 6) || all[i][1].section(u':', 1) == c || i == count - 1)
                    expected << all[i] + QStringList{u"1:%1"_s.arg(i + 1), u"1:%1"_s.arg(count)};
            QCOMPARE(page, expected);
        }
    }
}

void TestStatementEquivalence::hotQueue_data()
{
    QTest::addColumn<ServedSections>("served");
    QTest::newRow("no box") << noBox;
    QTest::newRow("boxes 1 and 3") << boxes1And3;
    QTest::newRow("every box") << allBoxes;
}

void TestStatementEquivalence::hotQueue()
{
    QFETCH(ServedSections, served);
    const int all = int(rows(ReferenceSql::hotQueue(served)).size());
    QVERIFY(all > 10);
    // Sorted by the due time; rows with equal due times come in the database's order.
    compare(ReferenceSql::hotQueue(served), PollingSql::hotQueue(served, all + 1), false, 11);
    // The first rows only: the earliest due, whichever of equal due times the database takes last.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Rows reference = rows(ReferenceSql::hotQueue(served));
        const Rows first = rows(PollingSql::hotQueue(served, 7));
        bool same = first.size() == 7;
        for (int i = 0; same && i < 7; ++i)
            same = first[i][11] == reference[i][11] && reference.contains(first[i]);
        if (same || attempt == 1) {
            QVERIFY(same);
            break;
        }
    }
}

void TestStatementEquivalence::panels_data()
{
    QTest::addColumn<ServedSections>("served");
    QTest::newRow("no box") << noBox;
    QTest::newRow("boxes 1 and 3") << boxes1And3;
    QTest::newRow("every box") << allBoxes;
}

void TestStatementEquivalence::panels()
{
    QFETCH(ServedSections, served);
    // Every order of the open shifts and some of the closed ones: the panel does not look at the
    // shift, and the detail window reads closed orders with the same text.
    const Rows orders = rows({u"SELECT KOD FROM ZAKAZ WHERE MOD(KOD, 7) = 0"
                              " OR KOD_SMENA IN (SELECT KOD FROM SMENA WHERE STATUS < 10)"_s});
    QVERIFY(orders.size() > 100);
    for (const QStringList& order : orders) {
        const qint64 key = order[0].section(u':', 1).toLongLong();
        compare(ReferenceSql::panelLines(key, served), BoardSql::panelLines(served), false, -1, {{u"K"_s, DbValue::integer(key)}});
        if (QTest::currentTestFailed())
            return;
    }
}

void TestStatementEquivalence::page_data()
{
    panels_data();
}

void TestStatementEquivalence::page()
{
    QFETCH(ServedSections, served);
    // The orders a page can show, and keys of no order, six a page; the last page is not full.
    Rows orders = rows({u"SELECT KOD FROM ZAKAZ WHERE MOD(KOD, 5) = 0"
                        " OR KOD_SMENA IN (SELECT KOD FROM SMENA WHERE STATUS < 10)"_s});
    orders.insert(7, {u"0:1"_s});
    orders.append({u"0:-5"_s});
    if (orders.size() % 6 == 0)
        orders.removeLast();
    Query page(*m_reader, *m_read);
    page.setSql(BoardSql::pageLines(served));
    int requests = 0, opened = 0;
    for (qsizetype first = 0; first < orders.size(); first += 6) {
        QList<qint64> keys;
        for (qsizetype i = first; i < first + 6 && i < orders.size(); ++i)
            keys << orders[i][0].section(u':', 1).toLongLong();
        for (int attempt = 0; attempt < 2; ++attempt) {
            for (int i = 0; i < 6; ++i)
                page.setParam(u"K%1"_s.arg(i + 1), i < keys.size() ? DbValue::integer(keys[i]) : DbValue());
            const int before = m_reader->requestCount();
            page.open();
            requests += m_reader->requestCount() - before;
            ++opened;
            const Rows all = rows(page);
            bool same = true;
            for (qint64 key : keys) {
                // The panel's rows in the order they came, and their due times (column 12).
                Rows own, expected = rows(ReferenceSql::panelLines(key, served));
                for (const QStringList& row : all)
                    if (row[7] == u"1:"_s + QString::number(key))
                        own << row;
                for (Rows* r : {&own, &expected}) {
                    QStringList due;
                    for (const QStringList& row : *r)
                        due << row[11];
                    std::sort(r->begin(), r->end());
                    r->append(due);
                }
                // A minute turning between the two statements changes ALL_TIME: once more.
                if (own != expected && attempt == 0) {
                    same = false;
                    break;
                }
                QCOMPARE(own, expected);
            }
            if (same)
                break;
        }
    }
    // Prepared once for every page: one request a page beside the prepare.
    QCOMPARE(requests, opened + 1);
}

void TestStatementEquivalence::newLines_data()
{
    QTest::addColumn<ServedSections>("served");
    QTest::addColumn<bool>("searchApart");
    QTest::newRow("no box") << noBox << false;
    QTest::newRow("boxes 1 and 3") << boxes1And3 << false;
    QTest::newRow("every box") << allBoxes << false;
    // The search through every shift made apart while the runs go on through the open shifts.
    QTest::newRow("boxes 1 and 3, searched apart") << boxes1And3 << true;
    QTest::newRow("every box, searched apart") << allBoxes << true;
}

void TestStatementEquivalence::newLines()
{
    QFETCH(ServedSections, served);
    QFETCH(bool, searchApart);
    // A monitor's runs, marking what they find, against the probe of every shift at each run;
    // in a transaction of their own, rolled back at the end.
    Transaction work(*m_reader, {u"read_committed"_s, u"rec_version"_s, u"nowait"_s, u"write"_s});
    Query query(*m_reader, work), wide(*m_reader, work), change(*m_reader, work);
    auto exec = [&](const QString& sql) {
        change.setSql({sql});
        change.execute();
    };
    const QString open = u" IN (SELECT Z.KOD FROM ZAKAZ Z JOIN SMENA S ON S.KOD = Z.KOD_SMENA WHERE S.STATUS < 10)"_s;
    NewLineProbe probe;
    const QDateTime start = QDateTime::currentDateTime();
    // The records the attachment has read so far, from a snapshot of its own.
    auto reads = [&] {
        Transaction snapshot(*m_reader, {u"read_committed"_s, u"rec_version"_s, u"nowait"_s});
        Query stats(*m_reader, snapshot);
        stats.setSql({u"SELECT R.MON$RECORD_SEQ_READS + R.MON$RECORD_IDX_READS FROM MON$ATTACHMENTS A"
                      " JOIN MON$RECORD_STATS R ON R.MON$STAT_ID = A.MON$STAT_ID"
                      " WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION"_s});
        stats.open();
        return stats.row(0).front().toInt64().value_or(0);
    };
    QList<qint64> found, expected;
    qint64 probeReads = 0;
    // A line the point of sale writes into an order of a closed shift, with the key given.
    auto writeIntoClosedShift = [&](const QString& key) {
        exec(u"INSERT INTO ZAKAZ_STR (KOD, KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME)"
             " SELECT FIRST 1 %1, Z.KOD, 'Дописано', 1, 1, 800, 5 FROM ZAKAZ Z JOIN SMENA S ON S.KOD = Z.KOD_SMENA"
             " WHERE S.STATUS >= 10 ORDER BY Z.KOD"_s.arg(key));
    };
    auto run = [&](int minute) {
        const qint64 before = reads();
        found = probe.find(query, wide, served, start.addSecs(minute * 60));
        probeReads = reads() - before;
        // The new lines' details as the probe brought them, as read by key.
        auto described = [](const QList<Journal::Line>& lines) {
            QStringList texts;
            for (const Journal::Line& l : lines)
                texts << u"%1 %2 %3 %4 %5 %6 %7 %8 %9"_s.arg(l.line).arg(l.order).arg(l.number, l.waiter, l.dish)
                             .arg(l.section).arg(l.quantity).arg(l.start.toString(Qt::ISODateWithMs), l.due.toString(Qt::ISODateWithMs))
                         + u" %1"_s.arg(l.stateBefore);
            return texts;
        };
        Query details(*m_reader, work);
        QCOMPARE(described(JournalLines::readLines(details, found, probe.details(), NewLineProbe::DetailsColumn)),
                 described(JournalLines::readLines(details, found)));
        change.setSql(ReferenceSql::newLines(served));
        change.open();
        expected.clear();
        for (int i = 0; i < change.recordCount(); ++i)
            expected << change.row(i).front().toInt64().value_or(0);
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        for (qsizetype at = 0; at < found.size(); at += PollingSql::MarkKeys) {
            PollingSql::markShown(served, found.mid(at, PollingSql::MarkKeys)).bindTo(change);
            change.execute();
        }
    };

    using Look = NewLineProbe::Look;

    if (searchApart) {
        // Its snapshot comes before the run marks what it finds in the open shifts: those lines are
        // in both, and announced once. A line written after the snapshot is found above its tops.
        probe.setSearchElsewhere(true);
        const NewLineProbe::Everything everything = NewLineProbe::searchEveryShift(wide, served);
        run(0);
        QVERIFY(!found.isEmpty() && probe.lastLook() == Look::OpenShifts && probe.searchWanted() == served);
        QVERIFY(everything.lines.size() > found.size() + 40);
        writeIntoClosedShift(u"NEXT VALUE FOR GEN_ZAKAZ_STR"_s);
        probe.arrived(noBox, everything); // a search for sections no longer served is dropped
        QVERIFY(probe.searchWanted() == served);
        probe.arrived(served, everything);
        QVERIFY(!probe.searchWanted());
        run(0);
        QCOMPARE(found, expected);
        QVERIFY(found.size() > 40 && probe.lastLook() == Look::NewKeys);
    } else {
        run(0); // every shift: closed ones, orders of no shift and lines of no order included
        QCOMPARE(found, expected);
        QVERIFY(found.size() > 40 && probe.lastLook() == Look::EveryShift);
    }
    exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 1 WHERE MOD(KOD, 3) = 0 AND KOD_ZAKAZ"_s + open);
    run(1); // new lines in the open shifts, found through them alone
    QCOMPARE(found, expected);
    QVERIFY(!found.isEmpty() && probe.lastLook() == Look::OpenShifts);
    // A shift closes with lines still new, another opens.
    exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 1 WHERE MOD(KOD, 4) = 0 AND KOD_ZAKAZ"_s + open);
    exec(u"UPDATE SMENA SET STATUS = 10 WHERE KOD = (SELECT MIN(KOD) FROM SMENA WHERE STATUS < 10)"_s);
    exec(u"UPDATE SMENA SET STATUS = 0 WHERE KOD = (SELECT MAX(KOD) FROM SMENA WHERE STATUS >= 10)"_s);
    run(2);
    QCOMPARE(found, expected);
    QVERIFY(!found.isEmpty() && probe.lastLook() == Look::NewKeys);

    // Lines written into a closed shift by two terminals, each with keys of its own range, the
    // lower range's keys given out after the higher range's: found within ten minutes.
    writeIntoClosedShift(u"5500000100"_s);
    writeIntoClosedShift(u"NEXT VALUE FOR GEN_ZAKAZ_STR"_s);
    run(2 + NewLineProbe::EveryShiftMinutes - 1);
    QVERIFY(found.isEmpty() && expected.size() == 2);
    run(2 + NewLineProbe::EveryShiftMinutes);
    QCOMPARE(found, expected);
    writeIntoClosedShift(u"NEXT VALUE FOR GEN_ZAKAZ_STR"_s);
    writeIntoClosedShift(u"5500000101"_s);
    writeIntoClosedShift(u"5500000099"_s); // below the range's top: given out before the last look
    run(2 + 2 * NewLineProbe::EveryShiftMinutes);
    const qint64 newKeyReads = probeReads;
    QCOMPARE(found, expected);
    QCOMPARE(found.size(), 3);
    run(3 + 2 * NewLineProbe::EveryShiftMinutes);
    QVERIFY(found.isEmpty() && probe.lastLook() == Look::OpenShifts);
    const qint64 openShiftReads = probeReads;
    // Beside the open shifts, that look read a few records per range and the new lines, none of
    // the hundreds still new in the closed shifts that it does not mark.
    const qint64 stillNew =
        m_db->value(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE PRINT_SECTION = 1"_s).toInt64().value_or(0);
    QVERIFY2(stillNew > 300 && newKeyReads - openShiftReads < 100,
             qPrintable(u"%1 records read against %2, %3 lines still new"_s.arg(newKeyReads).arg(openShiftReads).arg(stillNew)));
}

QTEST_GUILESS_MAIN(TestStatementEquivalence)
#include "TestStatementEquivalence.moc"
