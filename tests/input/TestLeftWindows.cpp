// The guards of a window the cook is not looking at, on the real board and order window against
// a real database: a question box that only Enter, Esc and Tab answer, a question that goes with
// its window at the idle time, and the board's touches held back after a window closed by itself.

#include "CookSteps.h"

class TestLeftWindows : public OrderTest {
    Q_OBJECT
private slots:
    void init() { startOrder(); }
    void cookActions_data();
    void cookActions();
    void idleDeadline();
};

void TestLeftWindows::cookActions_data()
{
    CookSteps::columns();
    const QString panel = u"Петров Сергей, № 7, Стол 4 | "_s;
    // A question box answers only Enter, Esc and Tab: the arrows that a keypad cook presses at
    // the board leave Cancel focused. A question left open goes with its window at the idle time.
    QTest::newRow("arrows in a question box") << u"open later dish later:700 box:Down+Right+Down+Enter dish close"_s << QString() << u"232332"_s;
    QTest::newRow("Tab moves to OK in a question box") << u"open later dish later:700 box:Tab+Enter dish close"_s << QString() << u"222332"_s;
    QTest::newRow("a question at the idle time") << u"open later dish later:700 box:idle dish"_s << QString() << u"232332"_s;
    // After a window closed by itself the board takes no touch for 2 s: taps meant for the window.
    QTest::newRow("a touch 0.7 s after the idle close") << u"open later idle close later:700 touch:panel:Пельмени"_s << QString() << u"222332"_s;
    QTest::newRow("a touch 2 s after the idle close") << u"open later idle close later:2000 touch:panel:Пельмени"_s << panel + u"Пельмени"_s << u"222332"_s;
}

void TestLeftWindows::cookActions()
{
    QFETCH(QString, steps);
    QFETCH(QString, seen);
    QFETCH(QString, states);
    CookSteps::run(*m_db, *m_rows, steps, seen, states);
}

// The idle time counts from the last touch or key: one deadline that every input moves on, and
// that stays off while something (the settings window) has stopped it.
void TestLeftWindows::idleDeadline()
{
    Monitor m(m_db->name());
    QTimer& idle = m.main().IdleTimer;
    auto someone = [&] { QTest::keyClick(&m.main(), Qt::Key_Q); }; // a key outside the map
    someone();
    QVERIFY(!idle.isActive());
    idle.start(3600 * 1000);
    someone();
    QVERIFY(idle.isActive());
    // The idle time and a second, give or take a coarse timer's slack.
    QVERIFY2(idle.remainingTime() < 7000, qPrintable(QString::number(idle.remainingTime())));
    // Passed with nobody there: the board rests, and the next input sets a new deadline.
    m.machine.idle.now = 60000;
    m.main().BtnShow->click();
    idle.start(0);
    QTRY_VERIFY(!m.state.HotExpanded);
    QVERIFY(!idle.isActive());
    someone();
    QVERIFY(idle.isActive());
    QVERIFY(idle.remainingTime() > 5000);
}

QTEST_MAIN(TestLeftWindows)
#include "TestLeftWindows.moc"
