// The database layer against the real server: the three kinds of transaction, named
// parameters, every value type the monitor reads or writes, the stored procedure, and errors.

#include "DbError.h"
#include "NamedParams.h"
#include "StoredProc.h"
#include "TestDatabase.h"

#include <QElapsedTimer>
#include <QTest>
#include <ibase.h>

using namespace Qt::StringLiterals;

namespace {
const QStringList readParams{u"read_committed"_s, u"rec_version"_s, u"nowait"_s, u"read"_s};
const QStringList writeParams{u"write"_s, u"consistency"_s, u"lock_timeout=5"_s};

struct Monitor {
    explicit Monitor(const QByteArray& name)
    {
        db.DatabaseName = name;
        db.Params = TestDatabase::params();
        db.open();
    }
    Database db;
    Transaction read{db, readParams};
    Transaction write{db, writeParams};
};

const QString insertLine =
    u"INSERT INTO ZAKAZ_STR (KOD, KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME, START_TIME, END_TIME)"
    " VALUES (:KOD, :Z, :NAME, :KOLVO, 1, 1, :MT, :ST, :ET)"_s;
}

class TestDbLayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void namedToPositional_data();
    void namedToPositional();
    void daysSince1899();
    void valuesRoundTrip();
    void repeatedNameAndNavigation();
    void readTransactionSeesLaterCommits();
    void blockedWriteGivesUp();
    void storedProcedureGivesServerTime();
    void errorsCarryTheServersText();
    void errorKinds_data();
    void errorKinds();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestDbLayer::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
}

void TestDbLayer::namedToPositional_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("positional");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one") << u"SELECT KOD FROM MY_PARAM WHERE NAME_PARAM = :N"_s
                         << u"SELECT KOD FROM MY_PARAM WHERE NAME_PARAM = ?"_s << QStringList{"N"};
    QTest::newRow("repeated, case folded") << u"WHERE KOD = :kd OR KOD_ZAKAZ = :KD AND X=:lm"_s
                                           << u"WHERE KOD = ? OR KOD_ZAKAZ = ? AND X=?"_s
                                           << QStringList{"KD", "KD", "LM"};
    QTest::newRow("quoted text and names") << u"SELECT ':A', \":B\" FROM T WHERE C = 'it''s :C' AND D = :D"_s
                                           << u"SELECT ':A', \":B\" FROM T WHERE C = 'it''s :C' AND D = ?"_s
                                           << QStringList{"D"};
    QTest::newRow("comments") << u"SELECT 1 -- :A\nFROM T /* :B */ WHERE E = :E"_s
                              << u"SELECT 1 -- :A\nFROM T /* :B */ WHERE E = ?"_s << QStringList{"E"};
}

void TestDbLayer::namedToPositional()
{
    QFETCH(QString, sql);
    PositionalSql out = toPositional(sql);
    QTEST(out.sql, "positional");
    QTEST(out.names, "names");
}

void TestDbLayer::daysSince1899()
{
    QCOMPARE(DbTime::fromDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    QCOMPARE(DbTime::fromDateTime(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    const QDateTime t(QDate(2026, 12, 7), QTime(7, 10, 0, 999));
    QCOMPARE(DbTime::toDateTime(DbTime::fromDateTime(t)), t);
    QCOMPARE(DbTime::toDateTime(DbTime::fromDateTime(t) + 15 / 1440.0), t.addSecs(15 * 60));
    // Moments met again come as they came the first time, each to its millisecond.
    for (qint64 ms : {0, 1, 0, -1, 1, 3'600'000, 0})
        QCOMPARE(DbTime::toDateTime(DbTime::fromDateTime(t) + double(ms) / 86'400'000), t.addMSecs(ms));
    QCOMPARE(DbTime::toTime(0.5), QTime(12, 0));
}

void TestDbLayer::valuesRoundTrip()
{
    const qint64 key = 9'000'000'000'123LL; // far above 2^31
    const QString dish = u"Борщ «Украинский» с ёЁ, № 5"_s;
    const QDateTime started(QDate(2026, 12, 7), QTime(12, 34, 56, 789));
    Monitor m(m_db->name());

    m.write.start();
    Query insert(m.db, m.write);
    insert.setSql({insertLine});
    insert.setParam(u"KOD"_s, DbValue::integer(key));
    insert.setParam(u"Z"_s, DbValue::integer(key + 1));
    insert.setParam(u"NAME"_s, DbValue::text(dish));
    insert.setParam(u"KOLVO"_s, DbValue::number(0.5));
    insert.setParam(u"MT"_s, DbValue());
    insert.setParam(u"ST"_s, DbValue::timestamp(DbTime::fromDateTime(started)));
    insert.setParam(u"ET"_s, DbValue());
    insert.execute();
    m.write.commit();

    Query q(m.db, m.read);
    q.setSql({u"SELECT KOD, KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, MY_TIME, START_TIME, END_TIME,"_s,
              u"CAST(START_TIME AS TIME) AS TP FROM ZAKAZ_STR WHERE KOD = :KOD"_s});
    q.setParam(u"KOD"_s, DbValue::integer(key));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.asInt64(u"kod"_s), std::optional<qint64>(key));
    QCOMPARE(q.asInt64(u"KOD_ZAKAZ"_s), std::optional<qint64>(key + 1));
    QCOMPARE(q.asString(u"NAME_BLUDO"_s), std::optional<QString>(dish));
    QCOMPARE(q.asDouble(u"KOLVO"_s), std::optional<double>(0.5));
    QCOMPARE(q.asInt(u"PRINT_SECTION"_s), std::optional<int>(1));
    QVERIFY(!q.asInt(u"MY_TIME"_s).has_value());
    QVERIFY(!q.asDateTime(u"END_TIME"_s).has_value());
    QCOMPARE(DbTime::toDateTime(*q.asDateTime(u"START_TIME"_s)), started);
    QCOMPARE(q.field(u"TP"_s).type(), DbValue::Type::Time);
    QCOMPARE(DbTime::toTime(*q.asDateTime(u"TP"_s)), started.time());
    // The text went to the server as code page 1251, not as bytes it would have to guess.
    QCOMPARE(m_db->value(u"SELECT OCTET_LENGTH(NAME_BLUDO) FROM ZAKAZ_STR WHERE KOD = 9000000000123"_s).toInt64(),
             std::optional<qint64>(dish.size()));
}

void TestDbLayer::repeatedNameAndNavigation()
{
    for (int i = 0; i < 3; ++i)
        m_db->exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (:K, :N)"_s,
                   {{u"K"_s, DbValue::integer(3'000'000'000LL + i)}, {u"N"_s, DbValue::text(u"p%1"_s.arg(i))}});
    Monitor m(m_db->name());
    Query q(m.db, m.read);
    q.setSql({u"SELECT KOD, NAME_PARAM FROM MY_PARAM"_s, u"WHERE KOD = :K OR (KOD > :K AND KOD < 3000000003) ORDER BY KOD"_s});
    q.setParam(u"K"_s, DbValue::integer(3'000'000'001LL));
    q.open();
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.asString(u"NAME_PARAM"_s), std::optional<QString>(u"p1"_s));
    QVERIFY(q.locate(u"KOD"_s, 3'000'000'002LL));
    QCOMPARE(q.recNo(), 1);
    QVERIFY(!q.locate(u"KOD"_s, 3'000'000'000LL));
    QCOMPARE(q.recNo(), 1);
    q.next();
    QVERIFY(q.eof());
    QVERIFY_THROWS_EXCEPTION(DbError, q.field(u"KOD"_s));
    q.close();
    QCOMPARE(q.recordCount(), 0);
    // A text bound where an integer is compared is converted by the server.
    q.setParam(u"K"_s, DbValue::text(u"3000000000"_s));
    q.open();
    QCOMPARE(q.recordCount(), 3);
}

void TestDbLayer::readTransactionSeesLaterCommits()
{
    Monitor m(m_db->name());
    Query q(m.db, m.read);
    q.setSql({u"SELECT COUNT(*) FROM MY_PARAM WHERE NAME_PARAM = 'later'"_s});
    q.open();
    QCOMPARE(q.row(0).front().toInt64(), std::optional<qint64>(0));
    QVERIFY(m.read.inTransaction());

    m_db->exec(u"INSERT INTO MY_PARAM (NAME_PARAM) VALUES ('later')"_s);
    q.open();
    QCOMPARE(q.row(0).front().toInt64(), std::optional<qint64>(1));

    // The long-lived read transaction cannot write.
    Query w(m.db, m.read);
    w.setSql({u"DELETE FROM MY_PARAM WHERE NAME_PARAM = 'later'"_s});
    QVERIFY_THROWS_EXCEPTION(DbError, w.execute());
    QCOMPARE(m_db->value(u"SELECT COUNT(*) FROM MY_PARAM WHERE NAME_PARAM = 'later'"_s).toInt64(),
             std::optional<qint64>(1));
}

void TestDbLayer::blockedWriteGivesUp()
{
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD, PRINT_SECTION, SECTION) VALUES (77, 1, 1)"_s);
    // The point of sale holds the line in a transaction it has not finished.
    Database pos;
    pos.DatabaseName = m_db->name();
    pos.Params = TestDatabase::params();
    pos.open();
    Transaction held(pos, {u"write"_s, u"concurrency"_s, u"wait"_s});
    Query lock(pos, held);
    lock.setSql({u"UPDATE ZAKAZ_STR SET KOLVO = 2 WHERE KOD = 77"_s});
    lock.execute();

    Monitor m(m_db->name());
    Query mark(m.db, m.write);
    mark.setSql({u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE PRINT_SECTION = 1 AND (SECTION = 800 OR SECTION = 900"_s,
                 u"OR SECTION = 1"_s, u")"_s});
    QElapsedTimer clock;
    clock.start();
    try {
        m.write.start();
        mark.execute();
        m.write.commit();
        QFAIL("the write went through a lock");
    } catch (const DbError& e) {
        qInfo("blocked write gave up after %lld ms: %ld %s", clock.elapsed(), e.iscCode(), e.what());
        QVERIFY(!e.text().isEmpty());
        QCOMPARE(e.sqlState().size(), 5);
    }
    QVERIFY(clock.elapsed() >= 3000);
    QVERIFY(clock.elapsed() < 15000);
    m.write.rollback();

    held.rollback();
    // With the lock gone the same write goes through.
    m.write.start();
    mark.execute();
    m.write.commit();
    QCOMPARE(m_db->value(u"SELECT PRINT_SECTION FROM ZAKAZ_STR WHERE KOD = 77"_s).toInt64(),
             std::optional<qint64>(2));
}

void TestDbLayer::storedProcedureGivesServerTime()
{
    Monitor m(m_db->name());
    StoredProc proc(m.db, m.read);
    proc.StoredProcName = u"MYDATETIME"_s;
    proc.execProc();
    const int requests = m.db.requestCount();
    proc.execProc();
    // The second call reuses the prepared statement: one request, not two.
    QCOMPARE(m.db.requestCount(), requests + 1);
    QDateTime server = DbTime::toDateTime(*proc.param(u"MYTIME"_s).toDouble());
    QVERIFY(qAbs(server.msecsTo(QDateTime::currentDateTime())) < 60'000);
}

void TestDbLayer::errorsCarryTheServersText()
{
    Monitor m(m_db->name());
    Query q(m.db, m.read);
    q.setSql({u"SELECT * FROM NO_SUCH_TABLE"_s});
    try {
        q.open();
        QFAIL("no error");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains(u"NO_SUCH_TABLE"_s), e.what());
        QCOMPARE(e.sqlState(), u"42S02"_s);
        QVERIFY(e.iscCode() != 0);
    }

    Database missing;
    missing.DatabaseName = TestDatabase::server() + ":/tmp/no-such-kitchen.fdb";
    missing.Params = TestDatabase::params();
    QVERIFY_THROWS_EXCEPTION(DbError, missing.open());
    QVERIFY(!missing.connected());

    Database wrongPassword;
    wrongPassword.DatabaseName = m_db->name();
    wrongPassword.Params = TestDatabase::params("not-the-password");
    QVERIFY_THROWS_EXCEPTION(DbError, wrongPassword.open());

    Database unknownItem;
    unknownItem.Params = {"colour=red"};
    QVERIFY_THROWS_EXCEPTION(DbError, unknownItem.open());
    QVERIFY_THROWS_EXCEPTION(DbError, Transaction::buildTpb({u"eventually"_s}));
}

void TestDbLayer::errorKinds_data()
{
    // What the polling does with an error follows its kind: reconnect, retry quietly, or tell.
    QTest::addColumn<std::vector<long>>("codes");
    QTest::addColumn<int>("kind");
    const int lost = int(DbError::Kind::ConnectionLost), conflict = int(DbError::Kind::Conflict),
              other = int(DbError::Kind::Other);
    QTest::newRow("attachment shut down") << std::vector<long>{isc_att_shutdown} << lost;
    QTest::newRow("network request, then read") << std::vector<long>{isc_network_error, isc_net_read_err} << lost;
    QTest::newRow("lost after a conflict") << std::vector<long>{isc_deadlock, isc_net_read_err} << lost;
    QTest::newRow("update conflict") << std::vector<long>{isc_deadlock, isc_update_conflict} << conflict;
    QTest::newRow("lock time-out") << std::vector<long>{isc_lock_timeout, isc_update_conflict} << conflict;
    QTest::newRow("syntax") << std::vector<long>{isc_dsql_error, isc_sqlerr, isc_dsql_token_unk_err} << other;
}

void TestDbLayer::errorKinds()
{
    QFETCH(std::vector<long>, codes);
    QFETCH(int, kind);
    QCOMPARE(int(DbError::kindOf(codes)), kind);
}

QTEST_GUILESS_MAIN(TestDbLayer)
#include "TestDbLayer.moc"
