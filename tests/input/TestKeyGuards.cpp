// Keys through the input gate on the real board and a real database: keys in the order window,
// a touch and keys in turn, a double press, and the guards after a window closed or while a
// press is held across a poll (touches wait, keys do not).

#include "KeySteps.h"

class TestKeyGuards : public OrderTest {
    Q_OBJECT
private slots:
    void init();
    void defaultKeys_data();
    void defaultKeys() { KeySteps::drive(*m_db); }
};

void TestKeyGuards::init()
{
    startDatabase();
    if (!QTest::currentTestFailed())
        KeySteps::fill(*m_db, *m_rows);
}

void TestKeyGuards::defaultKeys_data()
{
    KeySteps::columns();
    const QByteArray none;
    QTest::newRow(". opens the chosen dish, Enter marks it")
        << none << u"2 Down .>Enter>Esc"_s << u"Каша 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Del, dishes moved in the window") << none << u"1 Del>Down>Up>Down>Enter>Esc"_s << u"Каша 1"_s << u"1/Суп 1 @1"_s << u""_s;
    QTest::newRow("+ in the window") << none << u"3 .>+"_s << u"Суп 3,Каша 3"_s << u"4/Суп 4 @1"_s << u"Заказ № 3 готов"_s;
    QTest::newRow("a touch chooses, keys go on") << none << u"touch:4:Каша_4 Up Enter"_s << u"Суп 4"_s << u"4/Каша 4 @1"_s << u"opened Каша 4"_s;
    // The keys take the touches' paths: their guards, their questions and their boxes.
    QTest::newRow("Enter again within 0.45 s") << none << u"2 Enter ~Enter"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    // A window just closed keeps touches off the board for half a second, not keys.
    QTest::newRow("a key just after a window closed") << none << u"2 .>Esc ~Enter"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("a touch just after a window closed") << none << u"2 .>Esc ~touch:4:Каша_4"_s << u""_s << u"2/Суп 2 @1"_s << u""_s;
    // A press held while a poll reflows the board neither opens nor chooses what lies there now.
    // A section box asks before it drops or adds a section, as taking back does.
    QTest::newRow("a section dropped") << none << u"section:1 3"_s << u""_s << u"- @1"_s << u"asked Не показывать цех №1?"_s;
    QTest::newRow("a section kept") << none << u"no section:1 3"_s << u""_s << u"3/Суп 3 @1"_s << u"asked Не показывать цех №1?"_s;
    // A stray tap opens a manager's window under the cooks' keys: no keys save, end the monitor
    // or set a limit, and a window left alone closes by itself as Cancel, with its question.
    const QString save = u"asked Сохранить настройки? Программа будет перезапущена."_s;
    QTest::newRow("a stray tap on Опции, then the cooks' keys") << none << u"stray:BtnOption>3>Down>Down>Enter>Enter>+>Right>Enter>Enter"_s << u""_s << u"- @1"_s
                                                                << u"left open Настройки программы, "_s + save + u", "_s + save;
    QTest::newRow("Опции left alone") << none << u"stray:BtnOption>Down>5>Enter>later:60000>wait"_s << u""_s << u"- @1"_s << save;
    // A manager's keyboard reaches the interval field: what it typed there goes when nobody is left.
    QTest::newRow("Опции: an interval typed and left") << none << u"stray:BtnOption>Tab>Tab>Tab>Tab>9>later:60000>wait"_s << u""_s << u"- @1"_s << u""_s;
    // Only a touch, typing in a field or Tab holds it open; the cooks' keys that it lets go by do not.
    QTest::newRow("Опции: the cooks' keys go by") << none << u"stray:BtnOption>Down>Enter>Enter>later:30000>3>Down>Enter>Enter>later:30000>wait"_s << u""_s << u"- @1"_s
                                                 << save + u", "_s + save;
    QTest::newRow("Опции: a manager typing") << none << u"stray:BtnOption>later:50000>Tab>Tab>Tab>Tab>9>later:30000>Backspace>5>later:40000>wait"_s << u""_s << u"- @1"_s
                                            << u"left open Настройки программы"_s;
    QTest::newRow("a stray tap on Сеть") << none << u"stray:BtnNet>1>Down>Down>Enter>Enter>Up>Enter>later:60000>wait"_s << u""_s << u"- @1"_s << save + u", "_s + save;
    // The limit keypad's Enter on an empty entry writes nothing and says why.
    QTest::newRow("a stray tap on the limits") << none << u"stray:BtnLimit>Enter>Down>Enter>Down>Enter>Enter>Enter>later:60000>wait"_s << u""_s << u"- @1"_s
                                               << u"«» — не число, «» — не число"_s;
    // With no order chosen Enter goes on to a button only when the keyboard focused it (Tab).
    QTest::newRow("Enter with no order chosen, Сеть focused by itself") << none << u"shown focus:BtnNet Enter Num+Enter"_s << u""_s << u"- @1"_s << u""_s;
    QTest::newRow("Enter with no order chosen, Сеть tabbed to") << none << u"shown tab:BtnNet Enter"_s << u""_s << u"- @1"_s
                                                             << u"opened Настройка программы для работы в сети"_s;
    QTest::newRow("a stray tap on the exit") << none << u"stray:BtnExit>Down>Enter>Enter"_s << u""_s << u"- @1"_s << u"asked Завершить работу монитора кухни?"_s;
    QTest::newRow("a press held across a poll") << none << u"hold:4:Каша_4 pos:3:%_4 poll release"_s << u"Суп 4,Каша 4"_s << u"- @1"_s << u""_s;
}

QTEST_MAIN(TestKeyGuards)
#include "TestKeyGuards.moc"
