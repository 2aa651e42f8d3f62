// The monitor as a kitchen runs it with nobody at it: the program itself, started in a folder of
// its own, against a server that comes up later than the kitchen's computer, beside a second
// start, without a display; and the log lines the kitchen's IT person reads.

#include "Journal.h"
#include "LogLines.h"
#include "Log.h"
#include "OrderRows.h"
#include "TcpProxy.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QElapsedTimer>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// The program copied into a folder, which then holds its settings files, as in a kitchen.
struct Kitchen {
    Kitchen() : program(dir.filePath(u"kitchen-monitor"_s)) { QFile::copy(QStringLiteral(MONITOR_EXE), program); }
    ~Kitchen()
    {
        for (auto& p : processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }
    // Starts one more monitor of this folder, on the test's own (offscreen) display.
    QProcess& start(const QStringList& arguments = {},
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        processes.push_back(std::make_unique<QProcess>());
        QProcess& p = *processes.back();
        p.setProcessEnvironment(environment);
        p.start(program, arguments);
        return p;
    }
    static QString log(QProcess& p)
    {
        p.setProperty("log", p.property("log").toString() + QString::fromLocal8Bit(p.readAllStandardError()));
        return p.property("log").toString();
    }
    // The stop of a service: the program's own ending, told in its log, with status 0.
    static bool stops(QProcess& p)
    {
        ::kill(pid_t(p.processId()), SIGTERM);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0
               && log(p).contains(u"exit: status 0"_s);
    }
    QTemporaryDir dir;
    QString program;
    std::vector<std::unique_ptr<QProcess>> processes;
};
}

class TestUnattended : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lateServerAttachesByItself();
    void oneMonitorPerSettingsFolder();
    void watchedFromAfar();
    void consoleWithoutDisplay_data();
    void consoleWithoutDisplay();
    void settingsCarried_data();
    void settingsCarried();
    void journalLines_data();
    void journalLines();
    void healthLine_data();
    void healthLine();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestUnattended::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
}

void TestUnattended::lateServerAttachesByItself()
{
    OrderRows rows(*m_db, u"Петров Сергей"_s);
    rows.addOrder(100, 7);
    rows.addLine(100, 800, 1, u"Хлеб"_s);
    // After a power cut: the server's port refuses until it has started.
    TcpProxy server;
    server.kill();
    Kitchen kitchen;
    QVERIFY(writeNetFile(kitchen.dir.path(), server.databaseName(m_db->path())));
    QProcess& monitor = kitchen.start();
    QTRY_VERIFY_WITH_TIMEOUT(Kitchen::log(monitor).contains(u"reconnection attempt 1 failed"_s), 20000);
    QVERIFY2(Kitchen::log(monitor).contains(u"server not answering"_s), qPrintable(Kitchen::log(monitor)));
    QCOMPARE(rows.stateOf(u"Хлеб"_s), 1);

    server.revive();
    // Attached by the polling, with no box in the way for anybody to close.
    QTRY_COMPARE_WITH_TIMEOUT(rows.stateOf(u"Хлеб"_s), 2, 20000);
    const QString log = Kitchen::log(monitor);
    QVERIFY2(!log.contains(u"message:"_s), qPrintable(log));
    QVERIFY(log.contains(u"connection back"_s));
    // What the IT person reads: the sections, and the dish by its order, name and section.
    QVERIFY2(log.contains(u"served sections: "_s), qPrintable(log));
    QVERIFY2(log.contains(u"new dishes: order 7: Хлеб x"_s) && log.contains(u"(section 800)"_s), qPrintable(log));
    QVERIFY(Kitchen::stops(monitor));
}

void TestUnattended::oneMonitorPerSettingsFolder()
{
    Kitchen kitchen;
    QVERIFY(writeNetFile(kitchen.dir.path(), m_db->name()));
    // A folder copied with an empty journal that every local user could read.
    const QString journal = kitchen.dir.filePath(u"journal.sqlite"_s);
    QVERIFY(QFile(journal).open(QIODevice::WriteOnly));
    QVERIFY(QFile::setPermissions(journal, QFile::permissions(journal) | QFile::ReadOther | QFile::ReadGroup));
    QProcess& first = kitchen.start();
    QTRY_VERIFY_WITH_TIMEOUT(Kitchen::log(first).contains(u"connected to"_s), 20000);
    // Whatever it made there, and the journal it found, only its user reads (Net.txt is the test's).
    for (const QFileInfo& file : QDir(kitchen.dir.path()).entryInfoList(QDir::Files))
        if (file.fileName() != u"kitchen-monitor" && file.fileName() != u"Net.txt")
            QVERIFY2((file.permissions() & (QFile::ReadOther | QFile::ReadGroup | QFile::WriteOther)) == 0,
                     qPrintable(file.fileName()));

    // Started by hand beside the autostarted one, a minute later (a lock judged by its age would
    // be stale by then): ends at once, and not as a failure.
    QFile lockFile(kitchen.dir.filePath(u"kitchen-monitor.lock"_s));
    QVERIFY(lockFile.open(QIODevice::ReadWrite));
    QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    lockFile.close();
    QProcess& second = kitchen.start();
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(Kitchen::log(second).contains(u"already running: process %1"_s.arg(first.processId())),
             qPrintable(Kitchen::log(second)));
    QCOMPARE(first.state(), QProcess::Running);

    // A monitor that died (a power cut) leaves its lock behind; the next start takes it over.
    first.kill();
    QVERIFY(first.waitForFinished(5000));
    QProcess& third = kitchen.start();
    QTRY_VERIFY_WITH_TIMEOUT(Kitchen::log(third).contains(u"connected to"_s), 20000);
    QVERIFY(Kitchen::stops(third));
}

void TestUnattended::watchedFromAfar()
{
    Kitchen kitchen;
    QVERIFY(writeNetFile(kitchen.dir.path(), m_db->name()));
    QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "NOTIFY_SOCKET"})
        console.remove(QString::fromLatin1(name));
    // "--status" as a monitoring system's check runs it over ssh: its exit status and its text.
    auto status = [&](const QStringList& arguments = {}) {
        QProcess p;
        p.setProcessEnvironment(console);
        p.start(kitchen.program, QStringList{u"--status"_s} + arguments);
        p.waitForFinished(10000);
        return std::pair(p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()));
    };
    QCOMPARE(status().first, 3);
    QVERIFY(status().second.contains(u"не запущен"_s));

    // The service manager's socket, the test's own: the pings arrive there.
    const QByteArray socketPath = QFile::encodeName(kitchen.dir.filePath(u"notify"_s));
    const int sock = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    QVERIFY(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    QElapsedTimer clock;
    clock.start();
    QList<std::pair<qint64, QString>> notes; // when received, what
    auto receive = [&] {
        char buffer[4096];
        for (ssize_t n; (n = ::recv(sock, buffer, sizeof buffer, 0)) > 0;)
            notes << std::pair(clock.elapsed(), QString::fromUtf8(buffer, int(n)));
        return true;
    };
    auto pings = [&](qint64 after) {
        receive();
        return std::count_if(notes.begin(), notes.end(), [&](const auto& n) {
            return n.first > after && n.second.contains(u"WATCHDOG=1"_s);
        });
    };
    QProcessEnvironment service = QProcessEnvironment::systemEnvironment();
    service.insert(u"NOTIFY_SOCKET"_s, QString::fromLocal8Bit(socketPath));
    service.insert(u"WATCHDOG_USEC"_s, u"20000000"_s);
    QProcess& monitor = kitchen.start({}, service);
    QTRY_VERIFY_WITH_TIMEOUT(pings(0) >= 1, 20000);
    const auto ready = std::find_if(notes.begin(), notes.end(), [](const auto& n) { return n.second.startsWith(u"READY=1"_s); });
    QVERIFY(ready != notes.end());
    QVERIFY2(notes.last().second.contains(u"STATUS=опрос "_s) && notes.last().second.endsWith(u"связь есть"_s),
             qPrintable(notes.last().second));

    QTRY_COMPARE_WITH_TIMEOUT(status().first, 0, 15000);
    const QString running = status().second;
    QVERIFY2(running.contains(u"работает, процесс %1"_s.arg(monitor.processId())), qPrintable(running));
    for (const QString& line : {u"связь есть"_s, u"Обслуживаемые цеха: 1"_s, u"Звук: "_s, u"Журнал: "_s})
        QVERIFY2(running.contains(line), qPrintable(running));

    // A hung GUI thread: no more pings for the watchdog, and "--status" says it has not polled.
    ::kill(pid_t(monitor.processId()), SIGSTOP);
    auto state = [&] {
        QFile stat(u"/proc/%1/stat"_s.arg(monitor.processId()));
        return stat.open(QIODevice::ReadOnly) ? stat.readAll().split(')').value(1).trimmed().left(1) : QByteArray();
    };
    QTRY_COMPARE(state(), QByteArray("T"));
    receive(); // what it sent before it stopped
    const qint64 stopped = clock.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(status({u"6"_s}).first, 2, 20000);
    QVERIFY(status().second.contains(u"работает"_s));
    QCOMPARE(pings(stopped), 0);
    ::kill(pid_t(monitor.processId()), SIGCONT);
    const qint64 resumed = clock.elapsed();
    QTRY_VERIFY_WITH_TIMEOUT(pings(resumed) >= 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(status({u"6"_s}).first, 0, 20000);
    ::close(sock);
    QVERIFY(Kitchen::stops(monitor));
}

void TestUnattended::consoleWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display"); // empty: none at all
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("journal"); // what the folder holds: none, garbage, cut, sound
    const QString noDisplay = u"графический сеанс"_s;
    QTest::newRow("version") << QStringList{u"--version"_s} << QString() << 0
                             << u"kitchen-monitor " MONITOR_VERSION "\n"_s << QString() << QString();
    QTest::newRow("help") << QStringList{u"--help"_s} << QString() << 0 << u"--version"_s << QString() << QString();
    QTest::newRow("wrong option") << QStringList{u"--colour"_s} << QString() << 64 << QString() << u"colour"_s << QString();
    QTest::newRow("no display") << QStringList() << QString() << 1 << QString() << noDisplay << QString();
    QTest::newRow("a display nobody serves") << QStringList() << u":97"_s << 1 << QString() << noDisplay << QString();
    const QStringList today{u"--export-journal"_s, QDate::currentDate().toString(Qt::ISODate)};
    QTest::newRow("export of a sound journal") << today << QString() << 0 << u"Новое блюдо;;7;;Хлеб"_s << QString() << u"sound"_s;
    QTest::newRow("export of no journal") << today << QString() << 1 << QString() << u"не найден"_s << QString();
    QTest::newRow("export of garbage") << today << QString() << 1 << QString() << u"повреждён"_s << u"garbage"_s;
    QTest::newRow("export of a cut journal") << today << QString() << 1 << QString() << u"повреждён"_s << u"cut"_s;
}

void TestUnattended::consoleWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, journal);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(u"DISPLAY"_s, display);
    Kitchen kitchen;
    const QString journalPath = kitchen.dir.filePath(Journal::FileName);
    if (journal == u"garbage") {
        QFile file(journalPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 4096; ++i)
            file.write(QByteArray::number(i * 2654435761u, 16));
    } else if (!journal.isEmpty()) {
        {
            Journal written;
            QVERIFY(written.open(kitchen.dir.path(), nullptr));
            for (int i = 0; i < 300; ++i) {
                Journal::Line line;
                line.line = i;
                line.number = u"7"_s;
                line.dish = u"Хлеб"_s;
                written.announced({line});
            }
        }
        if (journal == u"cut") {
            // A copy that stopped half way.
            QFile file(journalPath);
            QVERIFY(file.size() > 16384);
            QVERIFY(file.resize(file.size() / 2));
        }
    }
    QProcess& monitor = kitchen.start(arguments, environment);
    QVERIFY(monitor.waitForFinished(20000));
    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), status);
    const QString stdOut = QString::fromLocal8Bit(monitor.readAllStandardOutput());
    const QString stdErr = Kitchen::log(monitor);
    QVERIFY2(out.endsWith(u'\n') ? stdOut == out : stdOut.contains(out), qPrintable(stdOut));
    QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    if (err == u"графический сеанс")
        QCOMPARE(stdErr.count(u'\n'), 1);
    // Nothing of a start: no settings files made.
    QStringList made = QDir(kitchen.dir.path()).entryList(QDir::Files);
    made.removeIf([](const QString& name) { return name.startsWith(Journal::FileName); });
    QCOMPARE(made, QStringList{u"kitchen-monitor"_s});
}

void TestUnattended::settingsCarried_data()
{
    QTest::addColumn<bool>("withPassword");
    QTest::addColumn<QString>("spoil"); // what becomes of the file on its way
    QTest::addColumn<int>("status");
    QTest::newRow("with the password") << true << QString() << 0;
    QTest::newRow("without the password") << false << QString() << 0;
    QTest::newRow("cut short") << true << u"cut"_s << 1;
    QTest::newRow("a spoiled line") << true << u"line"_s << 1;
    QTest::newRow("not a settings file") << false << u"other"_s << 1;
}

void TestUnattended::settingsCarried()
{
    QFETCH(bool, withPassword);
    QFETCH(QString, spoil);
    QFETCH(int, status);
    QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
    console.remove(u"DISPLAY"_s);
    auto run = [&](Kitchen& kitchen, const QStringList& arguments) {
        QProcess& p = kitchen.start(arguments, console);
        p.waitForFinished(10000);
        return p.exitCode();
    };
    auto put = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    // The first kitchen PC, set up; the second still has its own password and key map.
    Kitchen first, second;
    const QByteArray net = "Net-IP\r\nkitchen-srv/3051:/srv/pos/dishbase.fdb\r\n";
    const QByteArray keys = "\xCF\xE5\xF7\xE0\xF2\xFC=F5\r\n"; // code page 1251 as stored
    QVERIFY(put(first.dir.filePath(u"Net.txt"_s), net) && put(first.dir.filePath(u"Keys.txt"_s), keys)
            && put(first.dir.filePath(u"psw.txt"_s), "\x01\x02scrambled"));
    QVERIFY(put(second.dir.filePath(u"psw.txt"_s), "own") && put(second.dir.filePath(u"Keys.txt"_s), "own"));
    const QString carried = first.dir.filePath(u"carried.txt"_s);
    QCOMPARE(run(first, QStringList{u"--export-settings"_s, carried} + (withPassword ? QStringList{u"--with-password"_s} : QStringList())), 0);
    QCOMPARE(QFileInfo(carried).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QFile file(carried);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    if (spoil == u"cut")
        bytes.chop(bytes.size() - bytes.lastIndexOf("Keys.txt"));
    else if (spoil == u"line")
        bytes.replace("Net.txt ", "Net.txt !!");
    else if (spoil == u"other")
        bytes = "Local\r\nlocalhost:/db/dishbase.fdb\r\n";
    file.resize(0);
    file.write(bytes);
    file.close();

    QCOMPARE(run(second, {u"--import-settings"_s, carried}), status);
    auto bytesOf = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    const bool taken = status == 0;
    QCOMPARE(bytesOf(second.dir.filePath(u"Net.txt"_s)), taken ? net : QByteArray("<missing>"));
    QCOMPARE(bytesOf(second.dir.filePath(u"Keys.txt"_s)), taken ? keys : QByteArray("own"));
    QCOMPARE(bytesOf(second.dir.filePath(u"psw.txt"_s)), taken && withPassword ? QByteArray("\x01\x02scrambled") : QByteArray("own"));
}

void TestUnattended::journalLines_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<bool>("journal");
    QTest::newRow("the service's stderr") << QByteArray("64769:123456") << true;
    QTest::newRow("a child's other stderr") << QByteArray("64769:123457") << false;
    QTest::newRow("no journal") << QByteArray() << false;
    QTest::newRow("garbled") << QByteArray("64769:") << false;
}

void TestUnattended::journalLines()
{
    QFETCH(QByteArray, variable);
    QFETCH(bool, journal);
    QCOMPARE(Log::isJournalStream(variable, 64769, 123456), journal);
    // The journal dates its lines itself and takes their priority from the front.
    const QString pattern = Log::pattern(journal);
    QCOMPARE(pattern.contains(u"%{time"_s), !journal);
    QCOMPARE(pattern.contains(u"%{if-warning}<4>%{endif}"_s), journal);
}

void TestUnattended::healthLine_data()
{
    const QDateTime at(QDate(2026, 3, 2), QTime(14, 5, 0));
    QTest::addColumn<int>("polls");
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("announcements");
    QTest::addColumn<QDateTime>("lastNew");
    QTest::addColumn<QDateTime>("lost");
    QTest::addColumn<QString>("line");
    QTest::newRow("idle and well") << 120 << 0 << 0 << QDateTime() << QDateTime()
                                   << u"last 10 min: 120 polls done, 0 failed, 0 announcement(s), last new dish none since the start, connection up"_s;
    QTest::newRow("server gone") << 12 << 108 << 3 << at << at.addSecs(60)
                                 << u"last 10 min: 12 polls done, 108 failed, 3 announcement(s), last new dish at 2026-03-02 14:05:00, connection lost since 2026-03-02 14:06:00"_s;
}

void TestUnattended::healthLine()
{
    QFETCH(int, polls);
    QFETCH(int, failures);
    QFETCH(int, announcements);
    QFETCH(QDateTime, lastNew);
    QFETCH(QDateTime, lost);
    QTEST(LogLines::health({polls, lastNew, lost, failures, announcements}), "line");
    QCOMPARE(LogLines::served({true, false, true, false, false}), u"1, 3 (and 800, 900)"_s);
}

QTEST_GUILESS_MAIN(TestUnattended)
#include "TestUnattended.moc"
