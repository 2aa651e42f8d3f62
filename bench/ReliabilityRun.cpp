// The faults the monitor has to ride out, each played on the real server through a relay, with
// the program's own windows and its 5-second polling timer, and what the cooks and the waiters
// get from them: boxes, freezes of the board, time to recover, dishes left unannounced, waits of
// the point of sale. A measurement run by scripts/reliability, not a test with limits.
//
//   build/bench/reliability_run [--long] [--soak MINUTES] [--frozen] [--shot strip.png]

#include "AppState.h"
#include "FakeMachine.h"
#include "Freezes.h"
#include "Form_Base.h"
#include "Form_Main.h"
#include "PollingCycle.h"
#include "ProgramWindows.h"
#include "StatusStrip.h"
#include "TcpProxy.h"
#include "MonitorRig.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

long residentKb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

struct Monitor : MonitorRig {
    explicit Monitor(const QByteArray& database) : MonitorRig(database) { main().show(); }
    QString strip() { return main().Strip->headline(); }
};

class Run {
public:
    Run()
    {
        if (!m_db.error().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(m_db.error()));
            std::exit(1);
        }
        m_path = m_db.path();
        m_db.exec(u"INSERT INTO PERSON (KOD, FIO) VALUES (1, 'Петров Сергей')"_s);
        m_db.exec(u"INSERT INTO SMENA (KOD, STATUS) VALUES (10, 1)"_s);
        m_db.exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (100, 7, 1, 10)"_s);
        m_db.exec(u"CREATE TABLE MARKED (KOD BIGINT, MARKED_AT TIMESTAMP DEFAULT CURRENT_TIMESTAMP)"_s);
        m_db.exec(u"CREATE TRIGGER ZAKAZ_STR_MARKED FOR ZAKAZ_STR AFTER UPDATE AS BEGIN "
                  "IF (OLD.PRINT_SECTION = 1 AND NEW.PRINT_SECTION = 2) THEN INSERT INTO MARKED (KOD) VALUES (NEW.KOD); END"_s);
    }

    void addLine(const QString& dish, int state = 1)
    {
        m_db.exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM,"
                  " START_TIME) VALUES (100, 1, %1, :D, 1, 20, 5, CURRENT_TIMESTAMP)"_s.arg(state),
                  {{u"D"_s, DbValue::text(dish)}});
    }
    qint64 count(const QString& sql) { return m_db.value(sql).toInt64().value_or(-1); }

    // The server lost or silent for a while: boxes, freezes, recovery, dishes stuck.
    void outage(bool silent, int seconds, const QString& shot = {})
    {
        TcpProxy proxy;
        Monitor m(proxy.databaseName(m_path));
        wait(6000);
        const int beepsBefore = int(m.machine.speaker.beeps.size());
        Freezes freezes;
        freezes.reset();
        silent ? proxy.pause() : proxy.kill();
        for (int i = 0; i < 5; ++i)
            addLine(u"Во время сбоя"_s);
        wait(seconds * 1000);
        if (!shot.isEmpty() && !m.strip().isEmpty())
            m.main().grab().save(shot);
        const QString strip = m.strip();
        silent ? proxy.resume() : proxy.revive();
        QElapsedTimer back;
        back.start();
        while (!m.strip().isEmpty() && back.elapsed() < 60000)
            wait(50);
        const qint64 recovered = back.elapsed();
        wait(200);
        std::printf("%s %3d s: %lld boxes, strip \"%s\"; longest freeze %.1f s, freezes over 1 s: %d;"
                    " recovered %.1f s after the server's return; dishes left unmarked %lld, announced %d time(s)\n",
                    silent ? "server silent" : "server lost  ", seconds, qlonglong(m.machine.dialogs.messages.size()),
                    qPrintable(strip.left(40)), freezes.longest / 1000.0, freezes.count, recovered / 1000.0,
                    count(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE PRINT_SECTION = 1"_s),
                    int(m.machine.speaker.beeps.size()) - beepsBefore);
        std::fflush(stdout);
    }

    void startAgainstSilentHost()
    {
        TcpProxy proxy;
        proxy.pause();
        AppState state;
        QTemporaryDir dir;
        state.settingsFolder = dir.path();
        writeNetFile(dir.path(), proxy.databaseName(m_path));
        FakeMachine machine;
        QElapsedTimer t;
        t.start();
        qint64 told = -1;
        machine.dialogs.onMessage = [&] {
            if (told < 0)
                told = t.elapsed();
            QTimer::singleShot(0, [] {
                if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    modal->reject();
            });
        };
        ProgramWindows windows(state, machine.platform());
        const qint64 up = t.elapsed();
        // Only what happened gets a figure: a message that never came is said as such.
        if (told >= 0)
            std::printf("start against a silent host: message after %.1f s\n", told / 1000.0);
        else
            std::printf("start against a silent host: no message; the windows were up after %.1f s, strip \"%s\"\n",
                        up / 1000.0, qPrintable(windows.forms().Main->Strip->headline().left(40)));
        std::fflush(stdout);
    }

    // Inserts of the point of sale, one a transaction, while something holds rows of the table.
    struct Inserts {
        qint64 slowest = 0;
        int over1s = 0;
        int failed = 0;
    };
    Inserts insertWhile(int count, int pauseMs, const std::function<void()>& meanwhile)
    {
        Inserts result;
        std::atomic<bool> done{false};
        const QByteArray name = m_db.name();
        std::thread waiters([&] {
            Database pos;
            pos.DatabaseName = name;
            pos.Params = TestDatabase::params();
            pos.open();
            for (int i = 0; i < count; ++i) {
                QElapsedTimer t;
                t.start();
                try {
                    Transaction tr(pos, {u"read_committed"_s, u"wait"_s, u"write"_s});
                    Query q(pos, tr);
                    q.setSql({u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME,"
                              " MY_ALARM, START_TIME) VALUES (100, 1, 1, 'Заказ официанта', 1, 20, 5, CURRENT_TIMESTAMP)"_s});
                    q.execute();
                    tr.commit();
                } catch (const std::exception&) {
                    ++result.failed;
                }
                const qint64 ms = t.elapsed();
                result.slowest = std::max(result.slowest, ms);
                result.over1s += ms > 1000 ? 1 : 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            }
            done = true;
        });
        while (!done) {
            if (meanwhile)
                meanwhile();
            wait(50);
        }
        waiters.join();
        return result;
    }

    // A waiter's session holds an uncommitted update of a shown line, or of a new one.
    void posHoldsALine(bool newLine)
    {
        const QString dish = newLine ? u"Правится официантом, новое"_s : u"Правится официантом"_s;
        addLine(dish, newLine ? 1 : 2);
        Monitor m(m_db.name());
        wait(500);
        HeldLine held(m_db.name(), dish);
        Freezes freezes;
        freezes.reset();
        const Inserts in = insertWhile(80, 300, {});
        held.release();
        wait(6000);
        std::printf("waiter holds a %s line: 80 inserts, slowest %lld ms, over 1 s: %d, failed %d;"
                    " monitor: %lld boxes, longest freeze %.1f s, freezes over 1 s: %d, strip \"%s\","
                    " unmarked after release %lld\n",
                    newLine ? "new  " : "shown", qlonglong(in.slowest), in.over1s, in.failed,
                    qlonglong(m.machine.dialogs.messages.size()), freezes.longest / 1000.0, freezes.count,
                    qPrintable(m.strip().left(30)), count(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE PRINT_SECTION = 1"_s));
        std::fflush(stdout);
        m_db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
    }

    // What a monitor's marking left open by a hung network holds on the server: the new lines it
    // updated, with the monitor's own transaction parameters, never committed.
    void markingLeftOpen()
    {
        for (int i = 0; i < 5; ++i)
            addLine(u"Помечено, не зафиксировано"_s);
        Database monitor;
        monitor.DatabaseName = m_db.name();
        monitor.Params = TestDatabase::params();
        monitor.open();
        Transaction hung(monitor, {u"read_committed"_s, u"rec_version"_s, u"wait"_s, u"lock_timeout=5"_s, u"write"_s});
        Query mark(monitor, hung);
        mark.setSql({u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE PRINT_SECTION = 1"_s});
        mark.execute();
        const Inserts in = insertWhile(40, 250, {});
        hung.rollback();
        std::printf("monitor's marking left open: 40 inserts, slowest %lld ms, over 1 s: %d, failed %d\n",
                    qlonglong(in.slowest), in.over1s, in.failed);
        std::fflush(stdout);
        m_db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
    }

    // A monitor frozen between its marking update and its commit (a kitchen PC that hangs, or its
    // cable pulled, in the middle of the write): its connection goes silent holding the new lines
    // it marked until the server drops it. Meanwhile the point of sale inserts and a second
    // monitor polls with its own timer. The frozen one is a marking of the new lines sent through
    // a relay in a write transaction, and the relay then silenced; it holds the same rows whether
    // it marks them by key or by state.
    void frozenMonitor(int seconds)
    {
        m_db.exec(u"DELETE FROM MARKED"_s);
        m_db.exec(u"DELETE FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Заказ официанта'"_s); // of the scenarios before
        m_db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
        for (int i = 0; i < 6; ++i)
            addLine(u"Отмечено замершим монитором"_s);
        TcpProxy proxy;
        Database frozen;
        frozen.DatabaseName = proxy.databaseName(m_path);
        frozen.Params = TestDatabase::params();
        frozen.open();
        Transaction hung(frozen, {u"read_committed"_s, u"rec_version"_s, u"wait"_s, u"lock_timeout=5"_s, u"write"_s});
        Query mark(frozen, hung);
        mark.setSql({u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE PRINT_SECTION = 1 AND (SECTION = 800 OR SECTION = 900"_s,
                     u"OR SECTION = 1"_s, u")"_s});
        mark.execute();
        proxy.pause();

        Monitor other(m_db.name());
        Freezes freezes;
        freezes.reset();
        const int pauseMs = 400;
        const Inserts in = insertWhile(seconds * 1000 / (pauseMs + 5), pauseMs, {});
        // Not shown within one poll: still new a poll and a second after the point of sale's commit.
        const qint64 hidden = count(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Заказ официанта'"
                                    " AND PRINT_SECTION = 1 AND START_TIME < DATEADD(-6 SECOND TO CURRENT_TIMESTAMP)"_s);
        const qint64 inserted = count(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Заказ официанта'"
                                      " AND START_TIME < DATEADD(-6 SECOND TO CURRENT_TIMESTAMP)"_s);
        const qint64 longestFreeze = freezes.longest;
        // The server drops the dead connection and its transaction.
        proxy.kill();
        QElapsedTimer released;
        released.start();
        while (count(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE PRINT_SECTION = 1"_s) > 0 && released.elapsed() < 30000)
            wait(100);
        const double heldMarked = released.elapsed() / 1000.0;
        const qint64 longestWaitMs = count(
            u"SELECT MAX(DATEDIFF(MILLISECOND FROM L.START_TIME TO M.MARKED_AT)) FROM MARKED M"
            " JOIN ZAKAZ_STR L ON L.KOD = M.KOD WHERE L.NAME_BLUDO = 'Заказ официанта'"_s);
        std::printf("monitor frozen before its commit, %d s: lines not held hidden from the other monitor over a poll:"
                    " %lld of %lld, longest wait of one %.1f s; held lines marked %.1f s after the release;"
                    " marked twice or more: %lld; other monitor: longest freeze %.2f s, %lld boxes;"
                    " point of sale: %d inserts, slowest %lld ms, failed %d\n",
                    seconds, qlonglong(hidden), qlonglong(inserted), longestWaitMs / 1000.0, heldMarked,
                    count(u"SELECT COUNT(*) FROM MARKED"_s) - count(u"SELECT COUNT(DISTINCT KOD) FROM MARKED"_s),
                    longestFreeze / 1000.0, qlonglong(other.machine.dialogs.messages.size()),
                    seconds * 1000 / (pauseMs + 5), qlonglong(in.slowest), in.failed);
        std::fflush(stdout);
        m_db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
    }

    // Faults at random for a while, two monitors on the database and a point of sale adding lines.
    void soak(int minutes)
    {
        m_db.exec(u"DELETE FROM MARKED"_s);
        m_db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
        TcpProxy proxy;
        Monitor first(proxy.databaseName(m_path));
        Monitor second(m_db.name());
        wait(1000);
        const long rssStart = residentKb();
        Freezes freezes;
        freezes.reset();
        std::atomic<bool> stop{false};
        std::atomic<int> added{0};
        const QByteArray name = m_db.name();
        std::thread simulator([&] {
            Database pos;
            pos.DatabaseName = name;
            pos.Params = TestDatabase::params();
            pos.open();
            while (!stop) {
                Transaction tr(pos, {u"read_committed"_s, u"wait"_s, u"write"_s});
                Query q(pos, tr);
                q.setSql({u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME,"
                          " MY_ALARM, START_TIME) VALUES (100, 800, 1, 'Симулятор', 1, 20, 5, CURRENT_TIMESTAMP)"_s});
                q.execute();
                tr.commit();
                ++added;
                std::this_thread::sleep_for(std::chrono::milliseconds(700 + QRandomGenerator::global()->bounded(1500)));
            }
        });
        QElapsedTimer run;
        run.start();
        int kills = 0, pauses = 0;
        while (run.elapsed() < minutes * 60000LL) {
            const int fault = QRandomGenerator::global()->bounded(3);
            const int seconds = 5 + QRandomGenerator::global()->bounded(20);
            if (fault == 0) {
                ++kills;
                proxy.kill();
                wait(seconds * 1000);
                proxy.revive();
            } else if (fault == 1) {
                ++pauses;
                proxy.pause();
                wait(seconds * 1000);
                proxy.resume();
            } else {
                wait(seconds * 1000);
            }
        }
        stop = true;
        simulator.join();
        wait(20000);
        const long rssEnd = residentKb();
        std::printf("soak %d min: %d kills, %d pauses, %d lines added, %lld marked once, %lld marked twice or more,"
                    " %lld left new; boxes %lld + %lld; freezes over 1 s: %d, longest %.1f s; RSS %ld -> %ld kB\n",
                    minutes, kills, pauses, int(added), count(u"SELECT COUNT(DISTINCT KOD) FROM MARKED"_s),
                    count(u"SELECT COUNT(*) FROM MARKED"_s) - count(u"SELECT COUNT(DISTINCT KOD) FROM MARKED"_s),
                    count(u"SELECT COUNT(*) FROM ZAKAZ_STR WHERE PRINT_SECTION = 1"_s),
                    qlonglong(first.machine.dialogs.messages.size()), qlonglong(second.machine.dialogs.messages.size()),
                    freezes.count, freezes.longest / 1000.0, rssStart, rssEnd);
        std::fflush(stdout);
    }

private:
    TestDatabase m_db;
    QString m_path;
};

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool longRun = args.contains(u"--long"_s);
    const int soakAt = int(args.indexOf(u"--soak"_s));
    const int shotAt = int(args.indexOf(u"--shot"_s));
    const QString shot = shotAt > 0 ? args.value(shotAt + 1) : QString();

    Run run;
    if (args.contains(u"--frozen"_s)) {
        run.frozenMonitor(60);
        return 0;
    }
    if (soakAt > 0) {
        run.soak(std::max(1, args.value(soakAt + 1).toInt()));
        return 0;
    }
    run.outage(false, 10, shot);
    run.outage(false, 60);
    run.outage(true, 30);
    if (longRun)
        run.outage(true, 300);
    run.startAgainstSilentHost();
    run.posHoldsALine(false);
    run.posHoldsALine(true);
    run.markingLeftOpen();
    run.frozenMonitor(60);
    return 0;
}
