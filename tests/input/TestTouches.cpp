// The touch rules at work on the real board and order window, against a real database: what a
// touch on the hot queue or a panel opens, a press held while a poll changes the board, double
// and triple taps, and the guards after a window opens or closes.

#include "CookSteps.h"

class TestTouches : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Form_Base::shortenLimits(3, 1); }
    void init();
    void cookActions_data();
    void cookActions();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};

void TestTouches::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, u"Петров Сергей"_s);
    m_rows->addOrder(100, 7, u"Стол 4"_s);
    // The serving-time window is in reach.
    m_db->exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (1, 'time_monitor')"_s);
}

void TestTouches::cookActions_data()
{
    CookSteps::columns();
    const QString ready = u"open later order close "_s, back7 = u"Вернуть заказ № 7 в работу?\n\nГолубцы\nПельмени\nЧай чёрный"_s;
    const QString ready7 = u"Заказ № 7 готов"_s, hot = u"Петров Сергей, № 7, Стол 4 | "_s, panel = u"Петров Сергей, № 7, Стол 4 | "_s;
    const QString retry = u"строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("hot queue row indicator") << u"poll touch:indicator:Пельмени"_s << hot + u"Пельмени"_s << u"222332"_s;
    // The row chosen before a poll is still the one that acts, by its line, though the rows changed.
    QTest::newRow("hot queue titles after a poll") << u"poll touch:hot:Пельмени poll later touch:titles"_s << hot + u"Голубцы"_s << u"222332"_s;
    QTest::newRow("hot queue choice after a minute") << u"poll touch:hot:Пельмени minute poll read:chosen"_s << u"Пельмени"_s << u"222332"_s;
    QTest::newRow("hot queue titles after a minute") << u"poll touch:hot:Пельмени minute poll later touch:titles"_s << hot + u"Голубцы"_s << u"222332"_s;
    QTest::newRow("expanded hot queue over the panels") << u"poll show touch:centre"_s << u"Петров Сергей, № 8 | Рис с овощами"_s << u"222332"_s;
    QTest::newRow("panel dish") << u"poll touch:panel:Пельмени"_s << panel + u"Пельмени"_s << u"222332"_s;
    QTest::newRow("panel's empty space, hot queue shrunk again") << u"poll show show touch:centre"_s << panel + u"Голубцы"_s << u"222332"_s;
    // A press held while a poll takes the order off the board opens nothing at the release.
    QTest::newRow("press on the hot queue held across a poll") << u"poll hold:hot:Пельмени pos:3:Пельмени poll release"_s << QString() << u"232332"_s;
    QTest::newRow("press held across a poll") << u"hold:panel:Пельмени pos:3:Голубцы pos:3:Пельмени pos:3:Чай% poll release"_s << QString() << u"333332"_s;
    // The second tap of a double or triple tap lands on the board (here the expanded hot queue),
    // then on the window it would open.
    QTest::newRow("double tap on Заказ полностью готов") << u"board show poll "_s + ready + u"tap time-up"_s << QString() << u"333332"_s;
    QTest::newRow("triple tap on Заказ полностью готов") << u"board show poll "_s + ready + u"tap later:200 tap later:200 tap time-up"_s << QString() << u"333332"_s;
    // The press that marked the dish leaves it current: 0.7 s later the same dish is asked about.
    QTest::newRow("a second press 0.7 s later") << u"open later dish later:700 no dish read:asked current:Пельмени"_s << u"Вернуть в работу: Пельмени?"_s << u"232332"_s;
    QTest::newRow("a second press 0.45 s later") << u"open later dish later:450 dish read:asked"_s << QString() << u"232332"_s;
    QTest::newRow("the order 0.45 s after a dish") << u"open later dish later:450 order read:order"_s << u"Заказ полностью готов"_s << u"232332"_s;
    QTest::newRow("the order 0.5 s after a dish") << u"open later dish later:500 order close read:strip time-up"_s << ready7 << u"333332"_s;
    QTest::newRow("a window's first 0.45 s") << u"open later:450 dish order"_s << QString() << u"222332"_s;
    // The second tap lands where the strip was, over the hot queue: it opens nothing.
    QTest::newRow("double tap on Отменить") << ready + u"later Отменить poll touch:hot:Рис"_s << QString() << u"222332"_s;
}

void TestTouches::cookActions()
{
    QFETCH(QString, steps);
    QFETCH(QString, seen);
    QFETCH(QString, states);
    CookSteps::run(*m_db, *m_rows, steps, seen, states);
}

QTEST_MAIN(TestTouches)
#include "TestTouches.moc"
