// The idle rule on the 32-bit tick counts, and the program's own record of the last input.

#include "IdleCheck.h"
#include "InputIdleClock.h"

#include <QLineEdit>
#include <QTest>

class TestIdleCheck : public QObject {
    Q_OBJECT
private slots:
    void exceeded_data();
    void exceeded();
    void inputIsRecorded();
};

void TestIdleCheck::exceeded_data()
{
    QTest::addColumn<quint32>("lastInput");
    QTest::addColumn<quint32>("now");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<bool>("exceeded");
    QTest::newRow("just touched") << 1000u << 1000u << "5" << false;
    QTest::newRow("exactly the limit") << 1000u << 6000u << "5" << false;
    QTest::newRow("nearly six seconds") << 1000u << 6999u << "5" << false;
    QTest::newRow("six seconds") << 1000u << 7000u << "5" << true;
    QTest::newRow("over the counter's wrap") << 0xFFFFF000u << 0x00001000u << "5" << true;
    QTest::newRow("just before the wrap") << 0xFFFFF000u << 0xFFFFFFFFu << "5" << false;
    QTest::newRow("negative limit") << 1000u << 1000u << "-1" << true;
    QTest::newRow("zero limit, one second") << 0u << 1000u << "0" << true;
    QTest::newRow("spaces around") << 0u << 3000u << " 2 " << true;
    QTest::newRow("empty counts as 5") << 0u << 5999u << "" << false;
    QTest::newRow("empty counts as 5, six seconds") << 0u << 6000u << "" << true;
    QTest::newRow("not a number") << 0u << 6000u << "abc" << true;
    QTest::newRow("beyond 32 bits") << 0u << 6000u << "4294967301" << true;
    QTest::newRow("a fraction") << 0u << 5999u << "1,5" << false;
    QTest::newRow("largest limit") << 0u << 0xFFFFFFFFu << "2147483647" << false;
}

void TestIdleCheck::exceeded()
{
    QFETCH(quint32, lastInput);
    QFETCH(quint32, now);
    QFETCH(QString, limit);
    QFETCH(bool, exceeded);
    QCOMPARE(IdleCheck::exceeded(now, lastInput, limit), exceeded);
}

void TestIdleCheck::inputIsRecorded()
{
    InputIdleClock clock;
    QLineEdit field;
    QTest::qWait(30);
    const quint32 before = clock.lastInputTick();
    QVERIFY(quint32(clock.tickCount() - before) >= 20);
    QTest::keyClick(&field, Qt::Key_A);
    QVERIFY(quint32(clock.tickCount() - clock.lastInputTick()) < 20);
    QVERIFY(clock.lastInputTick() != before);
}

QTEST_MAIN(TestIdleCheck)
#include "TestIdleCheck.moc"
