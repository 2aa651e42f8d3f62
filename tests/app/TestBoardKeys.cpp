// The keys that choose and page at the board, with the default map and with a changed
// "Keys.txt", on the real board and a real database.

#include "KeySteps.h"

class TestBoardKeys : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaultKeys_data();
    void defaultKeys() { KeySteps::drive(*m_db); }
    void changedKeys_data();
    void changedKeys() { KeySteps::drive(*m_db); }

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};

void TestBoardKeys::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, u"Петров Сергей"_s);
    KeySteps::fill(*m_db, *m_rows);
}

void TestBoardKeys::defaultKeys_data()
{
    KeySteps::columns();
    const QByteArray none;
    QTest::newRow("3") << none << u"3"_s << u""_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("keypad 6") << none << u"Num+6"_s << u""_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("an empty panel") << none << u"PgDown 4"_s << u""_s << u"- @7"_s << u""_s;
    QTest::newRow("Right turns the page") << none << u"6 Right"_s << u""_s << u"7/Суп 7 @7"_s << u""_s;
    QTest::newRow("Left back over the page") << none << u"PgDown 1 Left"_s << u""_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("Down, Up") << none << u"2 Down Down Up Down"_s << u""_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("PgDown takes the choice along") << none << u"3 PgDown"_s << u""_s << u"7/Суп 7 @7"_s << u""_s;
    QTest::newRow("PgUp") << none << u"PgDown 2 PgUp"_s << u""_s << u"1/Суп 1 @1"_s << u""_s;
    QTest::newRow("0") << none << u"0"_s << u""_s << u"- @1"_s << u"stretched"_s;
    QTest::newRow("Esc drops the choice") << none << u"3 Down Esc"_s << u""_s << u"- @1"_s << u""_s;
    QTest::newRow("kept across a poll") << none << u"5 Down poll"_s << u""_s << u"5/Каша 5 @1"_s << u""_s;
    QTest::newRow("order gone at a poll") << none << u"5 pos:3:%_5 poll"_s << u"Суп 5,Каша 5"_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("idle drops it") << none << u"5 Down idle"_s << u""_s << u"- @1"_s << u""_s;
}

void TestBoardKeys::changedKeys_data()
{
    KeySteps::columns();
    const QByteArray bar = "DishReady F1\r\nNextOrder Tab\r\n";
    QTest::newRow("moved keys") << bar << u"Tab Tab F1"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter no longer marks") << bar << u"1 Enter Return Right"_s << u""_s << u"1/Суп 1 @1"_s << u""_s;
    // Enter left over in the window presses no button: the serving-time window stays shut.
    QTest::newRow("in the window") << bar << u"1 .>Enter>F1>Esc"_s << u"Суп 1"_s << u"1/Суп 1 @1"_s << u""_s;
    const QByteArray broken = "Bump F1\r\nTakeBack F2\r\n";
    QTest::newRow("a line that cannot be read") << broken << u"4 + F1 F2"_s << u""_s << u"4/Суп 4 @1"_s << u""_s;
    QTest::newRow("- is nothing now") << broken << u"4 + -"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
    QTest::newRow("Esc no longer drops") << QByteArray("Close F3\r\n") << u"3 Esc"_s << u""_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("F3 drops") << QByteArray("Close F3\r\n") << u"3 F3"_s << u""_s << u"- @1"_s << u""_s;
}

QTEST_MAIN(TestBoardKeys)
#include "TestBoardKeys.moc"
