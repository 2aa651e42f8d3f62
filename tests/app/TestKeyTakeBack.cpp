// The keys that take back at the board: "-" on the strip's press and then on the recall list,
// a held "-", and the recall list worked by keys, on the real board and a real database. The
// order taken back is chosen and shown, wherever the take-back put it, with the dish taken back.

#include "KeySteps.h"

class TestKeyTakeBack : public OrderTest {
    Q_OBJECT
private slots:
    void init();
    void defaultKeys_data();
    void defaultKeys() { KeySteps::drive(*m_db); }
};

void TestKeyTakeBack::init()
{
    startDatabase();
    if (!QTest::currentTestFailed())
        KeySteps::fill(*m_db, *m_rows);
}

void TestKeyTakeBack::defaultKeys_data()
{
    KeySteps::columns();
    const QByteArray none;
    // A digit chooses a panel, and "+" moves the choice on: "4 + +" marks orders 4 and 5.
    QTest::newRow("-") << none << u"4 + -"_s << u""_s << u"4/Суп 4 @1"_s << u""_s;
    // The dish taken back is chosen, not the one the choice had moved on to.
    QTest::newRow("- after a dish: the recall list") << none << u"3 Enter -"_s << u""_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("- again goes further back") << none << u"4 + 5 + - -"_s << u""_s << u"4/Суп 4 @1"_s << u""_s;
    QTest::newRow("- twice of three") << none << u"3 + + + - -"_s << u"Суп 3,Каша 3"_s << u"4/Суп 4 @1"_s << u""_s;
    QTest::newRow("- with nothing to take back") << none << u"3 Enter - -"_s << u""_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("- returns the +, not the Enter before") << none << u"3 Down Enter 3 + -"_s << u"Каша 3"_s << u"3/Суп 3 @1"_s << u""_s;
    // The choice had moved on to № 7, which the take-back pushes onto the second page.
    QTest::newRow("- on the page's last order") << none << u"6 + -"_s << u""_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("- held: its repeats do nothing") << none << u"4 + + + - auto:- auto:-"_s << u"Суп 4,Каша 4,Суп 5,Каша 5"_s << u"6/Суп 6 @1"_s << u""_s;
    // The recall list by keys: "/" opens it, the arrows choose, Enter asks as the order window's
    // button does, Esc closes.
    QTest::newRow("/, the older press back") << none << u"4 + + />Down>Down>Enter>Esc"_s << u"Суп 5,Каша 5"_s << u"6/Суп 6 @1"_s
                                              << u"Заказ № 5 готов, asked Вернуть заказ № 4 в работу?"_s;
    QTest::newRow("/, Cancel") << none << u"4 + no />Down>Enter>Esc"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s
                               << u"Заказ № 4 готов, asked Вернуть заказ № 4 в работу?"_s;
    QTest::newRow("/, a dish's press") << none << u"3 Enter />Up>Enter>Esc"_s << u""_s << u"3/Каша 3 @1"_s << u"asked Вернуть в работу: Суп 3?"_s;
    QTest::newRow("/, Enter with nothing chosen") << none << u"4 + />Enter>Esc"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
}

QTEST_MAIN(TestKeyTakeBack)
#include "TestKeyTakeBack.moc"
