// The keys that press at the board (Enter, "+", "*"), with the touches' questions and boxes, on
// the real board and a real database.

#include "KeySteps.h"

class TestKeyPresses : public OrderTest {
    Q_OBJECT
private slots:
    void init();
    void defaultKeys_data();
    void defaultKeys() { KeySteps::drive(*m_db); }
};

void TestKeyPresses::init()
{
    startDatabase();
    if (!QTest::currentTestFailed())
        KeySteps::fill(*m_db, *m_rows);
}

void TestKeyPresses::defaultKeys_data()
{
    KeySteps::columns();
    const QByteArray none;
    QTest::newRow("Enter: the next dish is chosen") << none << u"2 Enter"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter on the last dish") << none << u"2 Down Enter Enter"_s << u"Каша 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter twice: the next order") << none << u"2 Enter Enter"_s << u"Суп 2,Каша 2"_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("+") << none << u"4 +"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
    QTest::newRow("+ on page 2") << none << u"PgDown 2 +"_s << u"Суп 8,Каша 8"_s << u"7/Суп 7 @7"_s << u"Заказ № 8 готов"_s;
    QTest::newRow("*") << none << u"4 + *"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов, all"_s;
    // "+" and "*" typed on an ordinary keyboard come with Shift.
    QTest::newRow("Shift++") << none << u"4 Shift++"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
    QTest::newRow("Shift+*") << none << u"4 + Shift+*"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов, all"_s;
    QTest::newRow("+ leaves a dish not yet shown") << none << u"pos:1:Каша_3 3 +"_s << u"Суп 3"_s << u"4/Суп 4 @1"_s << u"Заказ № 3 готов"_s;
    QTest::newRow("Enter on a line held by the point of sale") << none << u"held:Суп_2 2 Enter"_s << u""_s << u"2/Суп 2 @1"_s
                                                               << u"Блюдо не отмечено: строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("+ on a line held by the point of sale") << none << u"held:Каша_4 4 +"_s << u""_s << u"4/Суп 4 @1"_s
                                                           << u"Заказ не отмечен: строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("Enter on a dish gone meanwhile") << none << u"2 Down pos:0:Каша_2 Enter"_s << u""_s << u"2/Суп 2 @1"_s << u""_s;
}

QTEST_MAIN(TestKeyPresses)
#include "TestKeyPresses.moc"
