// The journal on a real SQLite file: the presses it records and the recall rows they give, what a
// restart and a killed program keep, the pruning, and the faults that must leave it harmless.

#include "FakeClock.h"
#include "Journal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
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
    QTest::newRow("taken back and ready again") << u"dish-back:Голубцы dish-ready:Голубцы"_s << u"4:Голубцы|1:Пельмени Чай"_s;
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
    QCOMPARE(!QDir(m_dir->path()).entryList({Journal::FileName + u".broken-*"_s}).isEmpty(), movedAside);
    if (fault == u"full") {
        // No page more than it has: the first pages filled, nothing more goes in.
        journal.setSizeLimit(1);
        for (int i = 0; i < 50; ++i)
            journal.announced({line(i, QString(2000, u'щ'), 1)});
    }
    // Every event goes through without a throw or a hang, whatever becomes of it.
    journal.started(u"test"_s);
    journal.announced({line(1, u"Голубцы"_s, 1)});
    const qint64 id = journal.action(Kind::OrderReady, {line(1, u"Голубцы"_s, 2)});
    QCOMPARE(id != 0, opens && fault != u"full");
    QCOMPARE(journal.readyPresses(m_clock.now().addSecs(-60)).size(), id != 0 ? 1 : 0);
    if (fault == u"full") {
        // Room again: the journal writes again.
        journal.setSizeLimit(Journal::DefaultSizeLimit);
        QVERIFY(journal.action(Kind::OrderReady, {line(1, u"Голубцы"_s, 2)}) != 0);
    }
}

QTEST_GUILESS_MAIN(TestJournal)
#include "TestJournal.moc"
