// The data module's start-up against the real server: the connection settings and password
// file, the switches read from MY_PARAM, the failure path, the sound file, and the one way the
// windows write.

#include "Settings.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeSoundPlayer.h"
#include "FileBytes.h"
#include "Form_Base.h"
#include "Form_Util.h"
#include "PosSwitches.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// One start of the data module in a folder of its own, with what it did to the windows.
struct Start {
    explicit Start(const QByteArray& databaseName)
    {
        writeNetFile(dir.path(), databaseName);
        base.hooks.connectionFailed = [this] { events << u"connection settings"_s; };
        base.hooks.servingTimesEnabled = [this](bool on) { events << u"serving times %1"_s.arg(on); };
        base.hooks.limitsEnabled = [this](bool on) { events << u"limits %1"_s.arg(on); };
        PosSwitches::wire(base);
        dialogs.onMessage = [this] { events << u"message"_s; };
    }
    QTemporaryDir dir;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeSoundPlayer player;
    Form_Util util{clock};
    Settings settings{dir.path()};
    Form_Base base{settings, util, dialogs, player};
    QStringList events;
};

// Sets SYSDBA's password for the life of the object; the server's own is given back after.
struct ServerPassword {
    ServerPassword(TestDatabase& db, const QString& password) : m_db(db)
    {
        m_db.exec(u"ALTER USER SYSDBA PASSWORD '%1'"_s.arg(password));
    }
    ~ServerPassword() { m_db.exec(u"ALTER USER SYSDBA PASSWORD 'quiltbank'"_s); }
    TestDatabase& m_db;
};
}

class TestFormBase : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void defaultPassword();
    void passwordFile();
    void switches_data();
    void switches();
    void missingDatabaseEndsTheProgram();
    void soundFile();
    void writeStatement();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestFormBase::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
}

void TestFormBase::cleanup()
{
    m_db->exec(u"DELETE FROM MY_PARAM"_s);
}

void TestFormBase::defaultPassword()
{
    Start start(m_db->name());
    QVERIFY(start.base.FormCreate());
    QVERIFY(start.base.MyDB.connected());
    QCOMPARE(start.base.MyDB.DatabaseName, m_db->name());
    QCOMPARE(start.base.MyDB.Params, TestDatabase::params("quiltbank"));
    QCOMPARE(start.base.AlarmTime, 5);
    QVERIFY(start.base.TimerHot.isActive());
    QCOMPARE(start.base.TimerHot.interval(), 5000);
    QVERIFY(start.dialogs.messages.isEmpty());
    QVERIFY(start.player.calls.isEmpty());
}

void TestFormBase::passwordFile()
{
    {
        // A file for the password the server has.
        ServerPassword changed(*m_db, u"Kitch7en"_s);
        Start start(m_db->name());
        start.clock.time = QDateTime::currentDateTime();
        QVERIFY(putFile(start.dir.filePath(u"psw.txt"_s), start.util.ScramblePassword("Kitch7en")));
        QVERIFY(start.base.FormCreate());
        QCOMPARE(start.base.MyDB.Params, TestDatabase::params("Kitch7en"));
        QVERIFY(start.dialogs.messages.isEmpty());
    }
    // A file for another password than the server's is a failed connection.
    Start start(m_db->name());
    QVERIFY(putFile(start.dir.filePath(u"psw.txt"_s), start.util.ScramblePassword("Kitch7en")));
    QVERIFY(!start.base.FormCreate());
    QCOMPARE(start.dialogs.messages, QStringList{Form_Base::OpenFailedMessage});
}

void TestFormBase::switches_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("alarm");
    QTest::newRow("none") << QStringList() << QStringList{u"serving times 0"_s} << 5;
    QTest::newRow("time_monitor") << QStringList{u"time_monitor"_s} << QStringList() << 5;
    QTest::newRow("limit_monitor, timealarm")
        << QStringList{u"limit_monitor"_s, u"timealarm"_s}
        << QStringList{u"serving times 0"_s, u"limits 1"_s} << 12;
    QTest::newRow("all") << QStringList{u"time_monitor"_s, u"limit_monitor"_s, u"timealarm"_s}
                         << QStringList{u"limits 1"_s} << 12;
}

void TestFormBase::switches()
{
    QFETCH(QStringList, rows);
    for (const QString& name : rows)
        // Only a row's existence counts for the switches; its values are whatever they are.
        m_db->exec(u"INSERT INTO MY_PARAM (NAME_PARAM, INTEGER_PARAM) VALUES (:N, :I)"_s,
                   {{u"N"_s, DbValue::text(name)}, {u"I"_s, name == u"timealarm" ? DbValue::integer(12) : DbValue()}});
    Start start(m_db->name());
    QVERIFY(start.base.FormCreate());
    QTEST(start.events, "events");
    QTEST(start.base.AlarmTime, "alarm");
}

void TestFormBase::missingDatabaseEndsTheProgram()
{
    Start start(TestDatabase::server() + ":/tmp/no-such-kitchen-database.fdb");
    start.settings.set(Settings::Key::SoundFile, u"/tmp/bell.wav"_s);
    QVERIFY(!start.base.FormCreate());
    QCOMPARE(start.dialogs.messages, QStringList{Form_Base::OpenFailedMessage});
    QCOMPARE(start.events, QStringList({u"message"_s, u"connection settings"_s}));
    QVERIFY(!start.base.TimerHot.isActive());
    QCOMPARE(start.base.MyDB.requestCount(), 0);
    QVERIFY(start.player.calls.isEmpty());
}

void TestFormBase::soundFile()
{
    Start start(m_db->name());
    start.settings.set(Settings::Key::SoundFile, u"/tmp/bell.wav"_s);
    QVERIFY(start.base.FormCreate());
    QCOMPARE(start.player.file, u"/tmp/bell.wav"_s);

    // A file the player refuses is reported; the start-up has still succeeded.
    Start refused(m_db->name());
    refused.settings.set(Settings::Key::SoundFile, u"/tmp/broken.wav"_s);
    refused.player.badFiles << refused.settings.soundFile();
    QVERIFY(refused.base.FormCreate());
    QCOMPARE(refused.dialogs.messages.size(), 1);
    QVERIFY(refused.dialogs.messages[0].contains(u"/tmp/broken.wav"_s));
    QVERIFY(refused.base.TimerHot.isActive());
}

void TestFormBase::writeStatement()
{
    m_db->exec(u"INSERT INTO MENU_STR (KOD, NAME, LIMIT) VALUES (5400000077, 'Блины', NULL)"_s);
    Start start(m_db->name());
    QVERIFY(start.base.FormCreate());
    Form_Base& base = start.base;
    const QStringList update{u"UPDATE MENU_STR SET LIMIT = :LM WHERE KOD = :KD"_s};

    base.WriteStatement(update, {{u"LM"_s, DbValue::number(7.5)}, {u"KD"_s, DbValue::integer(5400000077)}});
    QVERIFY(!base.TransactionWrite.inTransaction());
    QCOMPARE(m_db->value(u"SELECT LIMIT FROM MENU_STR WHERE KOD = 5400000077"_s).toDouble(), std::optional(7.5));

    // A write that fails half-way leaves its transaction open for the next write to roll back.
    QVERIFY_THROWS_EXCEPTION(DbError, base.WriteStatement({u"UPDATE MENU_STR SET NO_SUCH_COLUMN = 1"_s}));
    QVERIFY(base.TransactionWrite.inTransaction());
    base.WriteStatement(update, {{u"LM"_s, DbValue()}, {u"KD"_s, DbValue::integer(5400000077)}});
    QVERIFY(!base.TransactionWrite.inTransaction());
    QVERIFY(m_db->value(u"SELECT LIMIT FROM MENU_STR WHERE KOD = 5400000077"_s).isNull());

    // Texts that take turns stay prepared: once used, a write is its execution alone.
    const QStringList other{u"UPDATE MENU_STR SET LIMIT = :LM + 1 WHERE KOD = :KD"_s};
    const Form_Base::Params params{{u"LM"_s, DbValue::number(2)}, {u"KD"_s, DbValue::integer(5400000077)}};
    base.WriteStatement(other, params);
    const int before = base.MyDB.requestCount();
    for (int i = 0; i < 3; ++i) {
        base.WriteStatement(update, params);
        base.WriteStatement(other, params);
    }
    QCOMPARE(base.MyDB.requestCount() - before, 6);
    QCOMPARE(m_db->value(u"SELECT LIMIT FROM MENU_STR WHERE KOD = 5400000077"_s).toDouble(), std::optional(3.0));
}

QTEST_MAIN(TestFormBase)
#include "TestFormBase.moc"
