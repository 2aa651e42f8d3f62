// Program start: the windows in their fixed order, the files of a first start, and the first
// showing of the board when a sound file is expected but missing.
// Also what the log tells, and the program itself polling at once and ending on a signal.

#include "AppState.h"
#include "Settings.h"
#include "FakeMachine.h"
#include "FileBytes.h"
#include "Form_Main.h"
#include "Form_Vid.h"
#include "ProgramWindows.h"
#include "Form_Base.h"
#include "Form_Net.h"
#include "Form_Stat.h"
#include "Form_Util.h"
#include "OrderRows.h"
#include "RadioGroup.h"
#include "StatusStrip.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QDate>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// A start in its own folder; with a database name, "Net.txt" names that database.
struct Start {
    explicit Start(const QString& folder, const QByteArray& database = {})
    {
        state.settingsFolder = folder;
        if (!database.isEmpty())
            writeNetFile(folder, database);
    }
    AppState state;
    FakeMachine machine;
    FakeDialogs& dialogs = machine.dialogs;
    Platform platform() { return machine.platform(); }
};

// Every line logged while it lives.
struct LogCapture {
    LogCapture() : previous(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& l) { lines << l; })) {}
    ~LogCapture() { qInstallMessageHandler(previous); }
    static inline QStringList lines;
    QtMessageHandler previous;
};

} // namespace

class TestProgramStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void windowsComeInTheirOrder();
    void firstStartFiles();
    void speakerStartAsksNothing();
    void unopenedDatabaseEndsTheProgram();
    void missingSoundFileOpensTheSettings();
    void savedSettingsEndTheProgram();
    void signalEndsTheProgram_data();
    void signalEndsTheProgram();
    void logKeepsPasswordsOut_data();
    void logKeepsPasswordsOut();
    // Last: the files it could not read stay on the list for the process's life.
    void unreadableSettingsAskNothing_data();
    void unreadableSettingsAskNothing();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestProgramStart::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
}

void TestProgramStart::windowsComeInTheirOrder()
{
    QTemporaryDir dir;
    Start start(dir.path(), m_db->name());
    QStringList order;
    bool readyDuringCreation = false;
    ProgramWindows windows(start.state, start.platform(), [&](const QString& name) {
        order << name;
        readyDuringCreation |= start.state.FormsReady;
    });
    QCOMPARE(order, QStringList({"Form_Main", "Form_Util", "Form_Net", "Form_Psw", "Form_Vid",
                                 "Form_Detail", "Form_Time", "Form_DateTime", "Form_Limit",
                                 "Form_Base", "Form_Klava"}));
    QVERIFY(!readyDuringCreation);
    QVERIFY(start.state.FormsReady);
    // The settings dialog switched the board's idle check on; the data module, the polling.
    QVERIFY(windows.forms().Main->IdleTimer.isActive());
    QVERIFY(windows.forms().Base->TimerHot.isActive());
    // The statistics window, not needed for the board, is made at its first opening, and once.
    const auto statistics = [&] { return windows.forms().Main->findChildren<Form_Stat*>(); };
    QVERIFY(statistics().isEmpty());
    for (int opening = 0; opening < 2; ++opening) {
        QTimer::singleShot(0, windows.forms().Main, [&] { statistics().value(0)->reject(); });
        windows.forms().showStatistics();
    }
    QCOMPARE(statistics().size(), 1);
}

void TestProgramStart::firstStartFiles()
{
    QTemporaryDir dir;
    Start start(dir.path());
    // The default connection file names a database this machine does not have.
    QStringList shown;
    start.dialogs.onMessage = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown << modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            }
        });
    };
    ProgramWindows windows(start.state, start.platform());
    QCOMPARE(shown, QStringList{u"Form_Net"_s});
    const QStringList expected{"Gruppa.txt", "Idle.txt", "Keys.txt", "Net.txt", "Screen.txt",
                               "Section.txt", "Signal.txt", "TextSize.txt", "journal.sqlite",
                               "journal.sqlite-shm", "journal.sqlite-wal", "tsound.txt"};
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(fileBytes(dir.filePath("Signal.txt")), QByteArray("50\r\n1\r\n"));
    QCOMPARE(fileBytes(dir.filePath("tsound.txt")), QByteArray("0\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Idle.txt")), QByteArray("5\r\n"));
    QCOMPARE(start.dialogs.messages, QStringList{Form_Base::OpenFailedMessage});
    QVERIFY(windows.forms().Main->isClosed());
    QCOMPARE(windows.forms().Base->MyDB.requestCount(), 0);
}

void TestProgramStart::speakerStartAsksNothing()
{
    QTemporaryDir dir;
    Start start(dir.path(), m_db->name());
    ProgramWindows windows(start.state, start.platform());
    windows.forms().Main->show();
    QTest::qWait(20);
    QVERIFY(start.dialogs.messages.isEmpty());
}

void TestProgramStart::unopenedDatabaseEndsTheProgram()
{
    QTemporaryDir dir;
    Start start(dir.path(), TestDatabase::server() + ":/tmp/no-such-kitchen-database.fdb");
    bool settingsShown = false;
    start.dialogs.onMessage = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            settingsShown = modal && modal->objectName() == u"Form_Net";
            if (modal)
                static_cast<QDialog*>(modal)->reject();
        });
    };
    // Were the event loop entered, this would end it, too late.
    QTimer::singleShot(3000, [] { QApplication::exit(1); });
    QElapsedTimer clock;
    clock.start();
    // Ended to be started again: the server may only be late.
    QCOMPARE(runProgram(start.state, start.platform()), RestartExitStatus);
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(settingsShown);
    QCOMPARE(start.dialogs.messages, QStringList{Form_Base::OpenFailedMessage});
}

void TestProgramStart::missingSoundFileOpensTheSettings()
{
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("tsound.txt"), "1\r\n"));
    Start start(dir.path(), m_db->name());
    ProgramWindows windows(start.state, start.platform());
    Form_Main* main = windows.forms().Main;
    Form_Vid* vid = windows.forms().Vid;
    QVERIFY(windows.settings().soundFile().isEmpty());
    QCOMPARE(vid->RadioGroup2->itemIndex(), 1);

    bool settingsShown = false;
    bool idleOffWhileShown = false;
    start.dialogs.onMessage = [&] {
        QTimer::singleShot(0, vid, [&] {
            settingsShown = vid->isVisible();
            idleOffWhileShown = !main->IdleTimer.isActive();
            vid->reject();
        });
    };
    main->show();
    QTRY_VERIFY(settingsShown);
    QCOMPARE(start.dialogs.messages, QStringList{Form_Main::NoSoundFileWarning});
    QVERIFY(idleOffWhileShown);
    QTRY_VERIFY(!vid->isVisible());
    QVERIFY(main->IdleTimer.isActive());
}

void TestProgramStart::savedSettingsEndTheProgram()
{
    QTemporaryDir dir;
    Start start(dir.path(), m_db->name());
    ProgramWindows windows(start.state, start.platform());
    Form_Main* main = windows.forms().Main;
    Form_Vid* vid = windows.forms().Vid;
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));

    QTimer::singleShot(0, vid, [&] {
        vid->RadioGroup1->setItemIndex(1);
        vid->BitBtn1->click();
    });
    main->BtnOption->click();
    QVERIFY(main->isClosed());
    QVERIFY(start.state.RestartNeeded);
    QCOMPARE(fileBytes(dir.filePath("Screen.txt")), QByteArray("Full\r\n"));
    QCOMPARE(start.dialogs.messages, QStringList{Form_Vid::RestartMessage});
}

void TestProgramStart::signalEndsTheProgram_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestProgramStart::signalEndsTheProgram()
{
    QFETCH(int, signal);
    TestDatabase db;
    QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
    OrderRows rows(db, u"Петров Сергей"_s);
    rows.addOrder(100, 7);
    rows.addLine(100, 800, 1, u"Хлеб"_s);
    // The program beside its own settings files, as it is installed.
    QTemporaryDir dir;
    const QString program = dir.filePath(u"kitchen-monitor"_s);
    QVERIFY(QFile::copy(QStringLiteral(MONITOR_EXE), program));
    QVERIFY(writeNetFile(dir.path(), db.name()));
    QProcess monitor; // on this test's own display
    monitor.start(program);
    QVERIFY(monitor.waitForStarted());
    // Marked shown by the first polling cycle, which does not wait a period of 5 s.
    QTRY_COMPARE_WITH_TIMEOUT(rows.stateOf(u"Хлеб"_s), 2, 4500);

    ::kill(pid_t(monitor.processId()), signal);
    QVERIFY(monitor.waitForFinished(10000));
    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), 0);
    // Through the program's own ending, not a handler that ends the process where it stands.
    QVERIFY(monitor.readAllStandardError().contains("exit: status 0"));

    // Its journal, exported without a display, holds the start, the announcement and the end.
    QProcess exporter;
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove(u"DISPLAY"_s);
    bare.remove(u"QT_QPA_PLATFORM"_s);
    exporter.setProcessEnvironment(bare);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    exporter.start(program, {u"--export-journal"_s, today});
    QVERIFY(exporter.waitForFinished(10000));
    QCOMPARE(exporter.exitCode(), 0);
    QStringList events;
    // The events, up to the empty line before the figures.
    for (const QString& row : QString::fromUtf8(exporter.readAllStandardOutput()).split(u"\r\n"_s).mid(1)) {
        if (row.isEmpty())
            break;
        events << row.section(u';', 1, 1) + (row.section(u';', 5, 5).isEmpty() ? QString() : u":"_s + row.section(u';', 5, 5));
    }
    QCOMPARE(events.join(u' '), u"Запуск:"_s + QStringLiteral(MONITOR_VERSION) + u" Новое блюдо:Хлеб Завершение:0"_s);
    exporter.start(program, {u"--export-journal"_s, u"07.12.2026"_s});
    QVERIFY(exporter.waitForFinished(10000));
    QCOMPARE(exporter.exitCode(), 2);
}

void TestProgramStart::logKeepsPasswordsOut_data()
{
    QTest::addColumn<QByteArray>("database");
    QTest::addColumn<QByteArray>("password"); // in "psw.txt"; empty: no file, the default one
    QTest::newRow("default password") << m_db->name() << QByteArray();
    QTest::newRow("the server's password from the file") << m_db->name() << QByteArray("quiltbank");
    QTest::newRow("a wrong password") << m_db->name() << QByteArray("Kx7Wq9Zp");
    QTest::newRow("no such database") << TestDatabase::server() + ":/tmp/no-such-kitchen-database.fdb"
                                      << QByteArray("Kx7Wq9Zp");
}

void TestProgramStart::logKeepsPasswordsOut()
{
    QFETCH(QByteArray, database);
    QFETCH(QByteArray, password);
    QTemporaryDir dir;
    Start start(dir.path(), database);
    if (!password.isEmpty())
        QVERIFY(putFile(dir.filePath("psw.txt"), Form_Util(start.machine.clock).ScramblePassword(password)));
    start.dialogs.onMessage = [] { // the start-up failure's settings window, cancelled
        QTimer::singleShot(0, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
    };

    LogCapture::lines.clear();
    {
        LogCapture capture;
        ProgramWindows windows(start.state, start.platform());
        Form_Base& base = *windows.forms().Base;
        // A cook's write, when there is a connection to write through.
        if (base.MyDB.connected())
            base.WriteStatement({u"UPDATE ZAKAZ_STR SET END_TIME = NULL WHERE KOD = -1"_s});
    }
    const QString log = LogCapture::lines.join(u'\n');
    QVERIFY2(log.contains(u"database: "_s + QString::fromLatin1(database)), qPrintable(log));
    // The write is told with its key; a start that could not connect, with the reason.
    if (log.contains(u"connected to"_s))
        QVERIFY(log.contains(u"written: UPDATE ZAKAZ_STR SET END_TIME = NULL WHERE KOD = -1"_s));
    else
        QVERIFY(log.contains(u"cannot open "_s + QString::fromLatin1(database)));
    QVERIFY(!log.contains(QString::fromLatin1(password.isEmpty() ? Form_Base::DefaultPassword : password)));
}

void TestProgramStart::unreadableSettingsAskNothing_data()
{
    QTest::addColumn<QString>("file"); // a folder in its place
    QTest::newRow("TextSize.txt") << u"TextSize.txt"_s;
    QTest::newRow("Idle.txt") << u"Idle.txt"_s;
    QTest::newRow("Screen.txt") << u"Screen.txt"_s;
    QTest::newRow("Section.txt") << u"Section.txt"_s;
    QTest::newRow("Signal.txt") << u"Signal.txt"_s;
}

void TestProgramStart::unreadableSettingsAskNothing()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(file));
    Start start(dir.path(), m_db->name());
    LogCapture log;
    LogCapture::lines.clear();
    ProgramWindows windows(start.state, start.platform());
    windows.forms().Main->show();
    // The board comes up with the default; no box waits for a person.
    QVERIFY2(start.dialogs.messages.isEmpty(), qPrintable(start.dialogs.messages.join(u" | "_s)));
    QVERIFY(windows.forms().Main->isVisible());
    // Said once in the log, and on the board's strip for an IT person passing by.
    QCOMPARE(LogCapture::lines.filter(u"settings file"_s).filter(file).size(), 1);
    QVERIFY2(windows.forms().Main->Strip->detail().contains(file + u": a folder in its place"_s),
             qPrintable(windows.forms().Main->Strip->detail()));
}

QTEST_MAIN(TestProgramStart)
#include "TestProgramStart.moc"
