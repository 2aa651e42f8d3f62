// The password scrambler and the byte layout of the password file.

#include "FakeClock.h"
#include "Form_Util.h"

#include <QTest>

class TestScrambler : public QObject {
    Q_OBJECT
private slots:
    void init();
    void sameSeedSameStream();
    void longSeedUsesItsFirst15();
    void shortSeedTakesTheClock();
    void knownPasswordFile();
    void shortFilesReadAsNoPassword_data();
    void shortFilesReadAsNoPassword();
    void anyBytesRoundTrip();

private:
    FakeClock m_clock;
};

namespace {
QList<int> stream(Form_Util& util, int n)
{
    QList<int> values;
    for (int i = 0; i < n; ++i)
        values << util.ScrambleNext();
    return values;
}
}

void TestScrambler::init()
{
    // "yyyymmhhnnsszzz" of this moment is 202612070710000.
    m_clock.time = QDateTime(QDate(2026, 12, 25), QTime(7, 7, 10, 0));
    m_clock.reads = 0;
}

void TestScrambler::sameSeedSameStream()
{
    Form_Util util(m_clock);
    QCOMPARE(util.ScrambleSeed("ABCDEFGHIJKLMNO"), QByteArray("ABCDEFGHIJKLMNO"));
    QList<int> first = stream(util, 300);
    util.ScrambleSeed("zzz-other-seed!");
    stream(util, 5);
    util.ScrambleSeed("ABCDEFGHIJKLMNO");
    QCOMPARE(stream(util, 300), first);
    QVERIFY(std::all_of(first.begin(), first.end(), [](int v) { return v >= 0 && v <= 254; }));
    QCOMPARE(m_clock.reads, 0);
}

void TestScrambler::longSeedUsesItsFirst15()
{
    Form_Util util(m_clock);
    util.ScrambleSeed("PLMOKNIJBUHVYGC");
    QList<int> short15 = stream(util, 200);
    QCOMPARE(util.ScrambleSeed("PLMOKNIJBUHVYGCX"), QByteArray("PLMOKNIJBUHVYGCX"));
    QCOMPARE(stream(util, 200), short15);
}

void TestScrambler::shortSeedTakesTheClock()
{
    Form_Util util(m_clock);
    QCOMPARE(util.ScrambleSeed("1"), QByteArray("202612070710000"));
    QCOMPARE(m_clock.reads, 1);
    QList<int> fromClock = stream(util, 50);
    util.ScrambleSeed("202612070710000");
    QCOMPARE(stream(util, 50), fromClock);
}

void TestScrambler::knownPasswordFile()
{
    Form_Util util(m_clock);
    QByteArray file = util.ScramblePassword("Abc123");
    QCOMPARE(file.toHex(' '), QByteArray("77 ab 6d a0 9b 34 0e a6 17 13 0c 21 cb 6f 2f 43 69 9c 06 9b aa"));
    QCOMPARE(util.UnscramblePassword(file), QByteArray("Abc123"));
    // The same password a millisecond later is another file that reads back the same.
    m_clock.time = m_clock.time.addMSecs(1);
    QByteArray later = util.ScramblePassword("Abc123");
    QVERIFY(later != file);
    QCOMPARE(util.UnscramblePassword(later), QByteArray("Abc123"));
    QCOMPARE(util.ScramblePassword("quiltbank").size(), 24);
}

void TestScrambler::shortFilesReadAsNoPassword_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("\x41", 1);
    QTest::newRow("15 bytes") << QByteArray(15, '\xA7');
}

void TestScrambler::shortFilesReadAsNoPassword()
{
    QFETCH(QByteArray, file);
    Form_Util util(m_clock);
    QCOMPARE(util.UnscramblePassword(file), QByteArray());
}

void TestScrambler::anyBytesRoundTrip()
{
    Form_Util util(m_clock);
    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every += char(b);
    for (const QByteArray& password : {QByteArray(), QByteArray("\xC0\xE1\xE2\xFF\x00\x98", 6), every}) {
        QByteArray file = util.ScramblePassword(password);
        QCOMPARE(file.size(), 15 + password.size());
        QCOMPARE(util.UnscramblePassword(file), password);
    }
}

QTEST_APPLESS_MAIN(TestScrambler)
#include "TestScrambler.moc"
