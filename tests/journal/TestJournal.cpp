// The journal on a real SQLite file: the presses it records and the recall rows they give, what a
// restart and a killed program keep, the pruning, and the faults that must leave it harmless.

#include "FakeClock.h"
#include "Journal.h"
#include "JournalStats.h"
#include "ReadyRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QList>
#include <QTest>
#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Kind = Journal::Kind;

namespace {
Journal::Line line(qint64 key, const QString& dish, int stateBefore)
{
    Journal::Line l;
    l.line = key;
    l.order = 100;
    l.number = u"7"_s;
    l.waiter = u"Петров Сергей"_s;
    l.dish = dish;
    l.section = 1;
    l.quantity = 1;
    l.start = QDateTime(QDate(2026, 12, 7), QTime(11, 40));
    l.due = l.start.addSecs(20 * 60);
    l.stateBefore = stateBefore;
    return l;
}

// "id:dish dish|id:dish" for the recall rows, newest first.
QString rows(const QList<Journal::Press>& presses, const QList<qint64>& ids)
{
    QStringList text;
    for (const Journal::Press& p : presses) {
        QStringList dishes;
        for (const Journal::Line& l : p.lines)
            dishes << l.dish;
        text << QString::number(ids.indexOf(p.id)) + u":"_s + dishes.join(u' ');
    }
    return text.join(u'|');
}
}

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void recallRows_data();
    void recallRows();
    void killedProgramKeepsThePress();
    void pruning();
    void faults_data();
    void faults();
    void dayFigures_data();
    void dayFigures();
    void csv();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeClock m_clock;
};

void TestJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
}

void TestJournal::recallRows_data()
{
    // Presses 0..: a dish (Голубцы), then the order (Пельмени, Чай), then what the row adds.
    QTest::addColumn<QString>("more");
    QTest::addColumn<QString>("listed");
    QTest::newRow("two presses, newest first") << QString() << u"1:Пельмени Чай|0:Голубцы"_s;
    QTest::newRow("one dish taken back") << u"dish-back:Чай"_s << u"1:Пельмени|0:Голубцы"_s;
    QTest::newRow("the strip's undo") << u"undo:Пельмени,Чай"_s << u"0:Голубцы"_s;
    QTest::newRow("taken back and ready again") << u"dish-back:Голубцы dish-ready:Голубцы"_s << u"3:Голубцы|1:Пельмени Чай"_s;
    QTest::newRow("older than half an hour") << u"later:31"_s << QString();
    QTest::newRow("restart keeps the list") << u"restart"_s << u"1:Пельмени Чай|0:Голубцы"_s;
}

void TestJournal::recallRows()
{
    QFETCH(QString, more);
    QFETCH(QString, listed);
    const QHash<QString, qint64> keys{{u"Голубцы"_s, 1}, {u"Пельмени"_s, 2}, {u"Чай"_s, 3}};
    const QHash<QString, Kind> kinds{{u"dish-ready"_s, Kind::DishReady}, {u"dish-back"_s, Kind::DishBack},
                                     {u"undo"_s, Kind::Undo}};
    Journal journal;
    QVERIFY(journal.open(m_dir->path(), &m_clock));
    QList<qint64> ids;
    ids << journal.action(Kind::DishReady, {line(1, u"Голубцы"_s, 2)});
    m_clock.time = m_clock.time.addSecs(60);
    ids << journal.action(Kind::OrderReady, {line(2, u"Пельмени"_s, 2), line(3, u"Чай"_s, 1)});
    for (const QString& step : more.split(u' ', Qt::SkipEmptyParts)) {
        const QString what = step.section(u':', 0, 0), arg = step.section(u':', 1);
        m_clock.time = m_clock.time.addSecs(60);
        if (what == u"later")
            m_clock.time = m_clock.time.addSecs(arg.toInt() * 60);
        else if (what == u"restart") {
            journal.close();
            QVERIFY(journal.open(m_dir->path(), &m_clock));
        } else {
            QList<Journal::Line> lines;
            for (const QString& dish : arg.split(u','))
                lines << line(keys[dish], dish, kinds[what] == Kind::DishReady ? 2 : 3);
            ids << journal.action(kinds[what], lines);
        }
    }
    QVERIFY(!ids.contains(0));
    const QList<Journal::Press> presses = journal.readyPresses(m_clock.now().addSecs(-30 * 60));
    QCOMPARE(rows(presses, ids), listed);
    // What the take-back needs comes back as it was written.
    if (!presses.isEmpty()) {
        const Journal::Line& l = presses.last().lines.first();
        QCOMPARE(l.stateBefore, 2);
        QCOMPARE(l.start, QDateTime(QDate(2026, 12, 7), QTime(11, 40)));
        QCOMPARE(l.waiter, u"Петров Сергей"_s);
    }
    // The board's record, begun from the journal, returns each listed line to its state before.
    ReadyRecord record;
    record.seed(journal, m_clock.now());
    for (const Journal::Press& p : presses)
        for (const Journal::Line& l : p.lines)
            QCOMPARE(stateValue(record.stateBefore(l.line)), l.stateBefore);
}

void TestJournal::killedProgramKeepsThePress()
{
    // A program killed right after a cook's press: the press is in the journal all the same.
    const pid_t child = fork();
    if (child == 0) {
        Journal journal;
        journal.open(m_dir->path(), &m_clock);
        journal.action(Kind::OrderReady, {line(2, u"Пельмени"_s, 2)});
        raise(SIGKILL);
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    Journal journal;
    QVERIFY(journal.open(m_dir->path(), &m_clock));
    QCOMPARE(journal.readyPresses(m_clock.now().addSecs(-60)).size(), 1);
}

void TestJournal::pruning()
{
    Journal journal;
    QVERIFY(journal.open(m_dir->path(), &m_clock));
    for (int daysAgo : {91, 90, 1}) {
        m_clock.time = QDateTime(QDate(2026, 12, 7).addDays(-daysAgo), QTime(12, 0));
        journal.action(Kind::DishReady, {line(daysAgo, u"Голубцы"_s, 2)});
    }
    // The first event of the day prunes what is older than 90 days.
    m_clock.time = QDateTime(QDate(2026, 12, 7), QTime(0, 5));
    journal.started(u"test"_s);
    QCOMPARE(journal.readyPresses(QDateTime(QDate(2000, 1, 1), QTime(0, 0))).size(), 2);
}

void TestJournal::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("movedAside");
    QTest::newRow("not a database") << u"garbage"_s << true << true;
    QTest::newRow("damaged pages") << u"damaged"_s << true << true;
    QTest::newRow("cannot be created") << u"folder"_s << false << false;
    QTest::newRow("full") << u"full"_s << true << false;
    QTest::newRow("a press's second line fails") << u"second line"_s << true << false;
    QTest::newRow("a big journal") << u"big"_s << true << false;
}

void TestJournal::faults()
{
    QFETCH(QString, fault);
    QFETCH(bool, opens);
    QFETCH(bool, movedAside);
    const QString path = QDir(m_dir->path()).filePath(Journal::FileName);
    if (fault == u"garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    } else if (fault == u"damaged") {
        {
            Journal journal;
            QVERIFY(journal.open(m_dir->path(), &m_clock));
            for (int i = 0; i < 200; ++i)
                journal.announced({line(i, u"Голубцы"_s, 1)});
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 8192);
        file.seek(4096);
        file.write(QByteArray(4096, '\x5a'));
    } else if (fault == u"folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(Journal::FileName));
    }
    Journal journal;
    QCOMPARE(journal.open(m_dir->path(), &m_clock), opens);
    if (fault == u"big") {
        // Megabytes of events written in one run: the pages kept in memory stay few.
        for (int i = 0; i < 300; ++i)
            journal.announced({line(i, QString(3000, u'щ'), 1)});
        int used = 0, highest = 0;
        QCOMPARE(sqlite3_db_status(journal.handle(), SQLITE_DBSTATUS_CACHE_USED, &used, &highest, 0), SQLITE_OK);
        QVERIFY2(QFileInfo(path + u"-wal"_s).size() + QFileInfo(path).size() > 1024 * 1024, "less written than meant");
        QVERIFY2(used <= 2 * Journal::CacheKiB * 1024, qPrintable(QString::number(used)));
    }
    QCOMPARE(!QDir(m_dir->path()).entryList({Journal::FileName + u".broken-*"_s}).isEmpty(), movedAside);
    if (fault == u"full") {
        // No page more than it has: the first pages filled, nothing more goes in.
        journal.setSizeLimit(1);
        for (int i = 0; i < 50; ++i)
            journal.announced({line(i, QString(3000, u'щ'), 1)});
    }
    // Every event goes through without a throw or a hang, whatever becomes of it.
    journal.started(u"test"_s);
    journal.announced({line(1, u"Голубцы"_s, 1)});
    // A dish name longer than a page: it needs pages of its own.
    const QString dish = fault == u"full" ? QString(3000, u'щ') : u"Голубцы"_s;
    if (fault == u"second line")
        QCOMPARE(sqlite3_exec(journal.handle(), "CREATE TEMP TRIGGER fails BEFORE INSERT ON press_line"
                                                " WHEN NEW.line_key = 2 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END",
                              nullptr, nullptr, nullptr), SQLITE_OK);
    // A press of two lines: all of it goes in, or none (a take-back would return only part).
    const qint64 id = journal.action(Kind::OrderReady, {line(1, dish, 2), line(2, u"Чай"_s, 2)});
    const bool written = opens && fault != u"full" && fault != u"second line";
    QCOMPARE(id != 0, written);
    QCOMPARE(journal.readyPresses(m_clock.now().addSecs(-60)).size(), written ? 1 : 0);
    if (opens) {
        sqlite3_stmt* count = nullptr;
        QCOMPARE(sqlite3_prepare_v2(journal.handle(), "SELECT (SELECT COUNT(*) FROM press) + (SELECT COUNT(*) FROM press_line)",
                                    -1, &count, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_step(count), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(count, 0), written ? 3 : 0);
        sqlite3_finalize(count);
    }
    if (fault == u"full") {
        // Room again: the journal writes again.
        journal.setSizeLimit(Journal::DefaultSizeLimit);
        QVERIFY(journal.action(Kind::OrderReady, {line(1, u"Голубцы"_s, 2)}) != 0);
    }
}

void TestJournal::dayFigures_data()
{
    // One day of the whole kitchen: this monitor's presses at 12:10 and 13:00, another's marks at
    // 12:30, 12:40 and 12:50; each line "dish,section,minutes since the order,minutes it was due
    // after the order (- for none)". One dish announced here 5 minutes after its order. Besides
    // them, "ready"s taken back (here, elsewhere, and another's ready taken back here), a line
    // this monitor made ready seen leaving, and one of the day before: none of them count.
    QTest::addColumn<QList<int>>("sections");
    QTest::addColumn<QString>("dishes"); // dish ready own elsewhere median p90 late lateMean lateWorst
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("hours");  // hour:ready/late
    QTest::addColumn<QString>("summary");
    QTest::newRow("served sections") << QList<int>{1, 800, 900} << u"Борщ 4 3 1 22.5 47 2 25 30|Чай 1 1 0 60 60 0 0 0"_s
                                     << u"5 4 1 40 56 2 25 30"_s << u"12:4/2 13:1/0"_s
                                     << u"shift summary (test): 5 dishes cooked (4 here, 1 elsewhere), median 40.0 min, "
                                        "p90 56.0 min, 2 late (worst 30.0 min late), busiest hour 12:00-13:00 (4 dishes)"_s;
    QTest::newRow("every section") << QList<int>{} << u"Борщ 4 3 1 22.5 47 2 25 30|Стейк 1 1 0 20 20 0 0 0|Чай 1 1 0 60 60 0 0 0"_s
                                   << u"6 5 1 30 55 2 25 30"_s << u"12:5/2 13:1/0"_s
                                   << u"shift summary (test): 6 dishes cooked (5 here, 1 elsewhere), median 30.0 min, "
                                      "p90 55.0 min, 2 late (worst 30.0 min late), busiest hour 12:00-13:00 (5 dishes)"_s;
}

void TestJournal::dayFigures()
{
    QFETCH(QList<int>, sections);
    QFETCH(QString, dishes);
    QFETCH(QString, total);
    QFETCH(QString, hours);
    QFETCH(QString, summary);
    Journal journal;
    QVERIFY(journal.open(m_dir->path(), &m_clock));
    auto linesOf = [&](const QStringList& dishes, int stateBefore) {
        QList<Journal::Line> lines;
        for (const QString& dish : dishes) {
            const QStringList f = dish.split(u',');
            Journal::Line l = line(qint64(qHash(f[0] + f[2])), f[0], stateBefore);
            l.section = f[1].toInt();
            l.start = m_clock.time.addSecs(-60 * f[2].toInt());
            l.due = f[3] == u"-" ? QDateTime() : l.start.addSecs(60 * f[3].toInt());
            lines << l;
        }
        return lines;
    };
    auto made = [&](QTime at, const QStringList& dishes, Kind kind = Kind::OrderReady, int day = 7) {
        m_clock.time = QDateTime(QDate(2026, 12, day), at);
        journal.action(kind, linesOf(dishes, kind == Kind::OrderReady ? 2 : 3));
    };
    auto elsewhere = [&](QTime at, const QStringList& dishes) {
        m_clock.time = QDateTime(QDate(2026, 12, 7), at);
        return journal.readyElsewhere(linesOf(dishes, 2), m_clock.time);
    };
    m_clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 5));
    Journal::Line shown = linesOf({u"Борщ,1,5,15"_s}, 1).first();
    shown.line = qint64(qHash(u"Борщ10"_s)); // the dish ready at 12:10, 10 minutes after its order
    journal.announced({shown});
    made(QTime(12, 10), {u"Борщ,1,10,20"_s, u"Борщ,1,40,20"_s, u"Борщ,800,5,20"_s, u"Стейк,2,20,30"_s});
    QCOMPARE(elsewhere(QTime(12, 20), {u"Стейк,2,20,30"_s}), 0); // this monitor's own press
    QCOMPARE(elsewhere(QTime(12, 30), {u"Борщ,1,50,20"_s}), 1);
    QCOMPARE(elsewhere(QTime(12, 40), {u"Плов,1,15,20"_s}), 1);
    QCOMPARE(journal.backElsewhere({qint64(qHash(u"Плов15"_s)), 12345}, m_clock.time.addSecs(300)), 1);
    QCOMPARE(elsewhere(QTime(12, 50), {u"Лагман,1,15,20"_s}), 1);
    made(QTime(12, 55), {u"Лагман,1,15,20"_s}, Kind::DishBack);
    made(QTime(13, 0), {u"Чай,1,60,-"_s, u"Суп,1,5,20"_s});
    made(QTime(13, 1), {u"Суп,1,5,20"_s}, Kind::DishBack);
    made(QTime(12, 0), {u"Борщ,1,90,20"_s}, Kind::OrderReady, 6);
    const JournalStats::Day day = JournalStats::day(journal.handle(), QDate(2026, 12, 7), sections);
    const auto text = [](const JournalStats::Dish& d) {
        return u"%1 %2 %3 %4 %5 %6 %7 %8"_s.arg(d.ready).arg(d.own).arg(d.elsewhere).arg(d.median).arg(d.p90).arg(d.late)
            .arg(d.lateMean).arg(d.lateWorst);
    };
    QStringList got;
    for (const JournalStats::Dish& d : day.dishes)
        got << d.dish + u' ' + text(d);
    QCOMPARE(got.join(u'|'), dishes);
    QCOMPARE(text(day.total), total);
    QStringList perHour;
    for (int h = 0; h < 24; ++h)
        if (day.readyByHour[size_t(h)] > 0)
            perHour << u"%1:%2/%3"_s.arg(h).arg(day.readyByHour[size_t(h)]).arg(day.lateByHour[size_t(h)]);
    QCOMPARE(perHour.join(u' '), hours);
    QCOMPARE(JournalStats::summaryLine(day, u"test"_s), summary);
}

void TestJournal::csv()
{
    Journal journal;
    QVERIFY(journal.open(m_dir->path(), &m_clock));
    journal.started(u"1.1.4"_s);
    Journal::Line l = line(5, u"Салат \"Весна\"; большой"_s, 1);
    l.quantity = 0.5;
    journal.announced({l});
    m_clock.time = m_clock.time.addSecs(90);
    journal.action(Kind::DishReady, {line(5, u"Чай"_s, 2)});
    journal.readyElsewhere({line(6, u"Суп"_s, 2)}, m_clock.time.addSecs(120));
    m_clock.time = m_clock.time.addDays(1);
    journal.ended(0); // the next day: outside the export
    const QByteArray bytes = JournalStats::csv(journal.handle(), QDate(2026, 12, 7), QDate(2026, 12, 7));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s);
    // The titles, four events, an empty line, the figures' titles, the whole day, two dishes and
    // the empty end after the last CR LF.
    QCOMPARE(rows.size(), 11);
    QCOMPARE(rows[0].count(u';'), 10);
    QCOMPARE(rows[1], u"2026-12-07 12:00:00;Запуск;;;;1.1.4;;;;;"_s);
    QCOMPARE(rows[2], u"2026-12-07 12:00:00;Новое блюдо;;7;;\"Салат \"\"Весна\"\"; большой\";1;0,5;"
                      "2026-12-07 11:40:00;2026-12-07 12:00:00;"_s);
    QCOMPARE(rows[3].section(u';', 0, 3), u"2026-12-07 12:01:30;Блюдо готово;1;7"_s);
    QCOMPARE(rows[3].section(u';', 10), u"2"_s);
    QCOMPARE(rows[4].section(u';', 0, 1), u"2026-12-07 12:03:30;Готово на другом мониторе"_s);
    QCOMPARE(rows[5], QString());
    QCOMPARE(rows[6], u"Блюдо;Готово;Здесь;На других;Медиана, мин;90 %, мин;Опоздали;Опоздание ср., мин;Опоздание макс., мин"_s);
    // From the announcement at 12:00 (Чай) or the order at 11:40 (Суп) to "ready".
    QCOMPARE(rows[7], u"Весь день;2;1;1;12,5;21,3;2;2,5;3,5"_s);
    QCOMPARE(rows[8], u"Суп;1;0;1;23,5;23,5;1;3,5;3,5"_s);
    QCOMPARE(rows[9], u"Чай;1;1;0;1,5;1,5;1;1,5;1,5"_s);
}

QTEST_GUILESS_MAIN(TestJournal)
#include "TestJournal.moc"
