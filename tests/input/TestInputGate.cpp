// The input gate's rules on real widgets, without a database: the guards after a window opens or
// closes, a press held while the place changed, double taps and held keys.

#include "FakeClock.h"
#include "InputGate.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestInputGate : public QObject {
    Q_OBJECT
private slots:
    void touchGuards_data();
    void touchGuards();
    void heldAcrossPoll_data();
    void heldAcrossPoll();
    void doubleTap();
    void keys_data();
    void keys();
};

void TestInputGate::touchGuards_data()
{
    // What happens before the touch, and after how many milliseconds the touch comes.
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("clicked");
    QTest::newRow("nothing") << QString() << 0 << true;
    QTest::newRow("a box closed 0.45 s ago") << u"close"_s << 450 << false;
    QTest::newRow("a box closed 0.5 s ago") << u"close"_s << 500 << true;
    QTest::newRow("the window opened 0.45 s ago") << u"open"_s << 450 << false;
    QTest::newRow("the window opened 0.5 s ago") << u"open"_s << 500 << true;
    QTest::newRow("a strip went from under the finger") << u"under"_s << 100 << false;
    QTest::newRow("the clock set back") << u"close"_s << -60000 << true;
}

void TestInputGate::touchGuards()
{
    QFETCH(QString, before);
    QFETCH(int, after);
    QFETCH(bool, clicked);
    FakeClock clock;
    clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    InputGate gate;
    gate.guardTouches(clock);
    QDialog window;
    auto* button = new QPushButton(u"Блюдо готово"_s, &window);
    window.show();
    clock.time = clock.time.addSecs(10);
    if (before == u"close") {
        QDialog box;
        box.show();
        box.hide();
    } else if (before == u"open") {
        window.hide();
        window.show();
    } else if (before == u"under")
        gate.underFingerChanged();
    clock.time = clock.time.addMSecs(after);
    QSignalSpy spy(button, &QPushButton::clicked);
    QSignalSpy someone(&gate, &InputGate::cookInput);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(spy.size(), clicked ? 1 : 0);
    QVERIFY(!someone.isEmpty()); // a refused touch is someone there all the same
}

void TestInputGate::heldAcrossPoll_data()
{
    QTest::addColumn<qint64>("releasedOrder"); // 0: nothing there at the release
    QTest::addColumn<bool>("otherPlace");
    QTest::addColumn<bool>("acts");
    QTest::newRow("the same order and line") << qint64(7) << false << true;
    QTest::newRow("another order came under the finger") << qint64(8) << false << false;
    QTest::newRow("the order went") << qint64(0) << false << false;
    QTest::newRow("released on another grid") << qint64(8) << true << true;
}

void TestInputGate::heldAcrossPoll()
{
    QFETCH(qint64, releasedOrder);
    QFETCH(bool, otherPlace);
    QFETCH(bool, acts);
    InputGate gate;
    QObject grid, other;
    gate.touchPressed(&grid, InputGate::TouchTarget{7, {DbValue::integer(1)}});
    std::optional<InputGate::TouchTarget> now;
    if (releasedOrder)
        now = InputGate::TouchTarget{releasedOrder, {DbValue::integer(1)}};
    QCOMPARE(gate.touchReleased(otherPlace ? &other : &grid, now), acts);
    // The press is forgotten: a release without one acts.
    QVERIFY(gate.touchReleased(&grid, std::nullopt));
}

void TestInputGate::doubleTap()
{
    FakeClock clock;
    clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    InputGate gate;
    QObject window, other;
    QVERIFY(!gate.doubleTap(&window)); // no clock yet: no guard
    gate.guardTouches(clock);
    QVERIFY(!gate.doubleTap(&window));
    clock.time = clock.time.addMSecs(InputGate::DoubleTapMilliseconds - 50);
    QVERIFY(gate.doubleTap(&window));
    QVERIFY(!gate.doubleTap(&other)); // each window its own
    clock.time = clock.time.addMSecs(InputGate::DoubleTapMilliseconds);
    QVERIFY(!gate.doubleTap(&window));
}

void TestInputGate::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<bool>("modalOnTop");
    QTest::addColumn<QString>("actions"); // what the window's handler was given
    QTest::newRow("Enter") << int(Qt::Key_Return) << false << false << u"DishReady"_s;
    QTest::newRow("Enter held") << int(Qt::Key_Return) << true << false << QString();
    QTest::newRow("Down held") << int(Qt::Key_Down) << true << false << u"NextDish"_s;
    QTest::newRow("a key outside the map") << int(Qt::Key_Q) << false << false << QString();
    QTest::newRow("under a modal window") << int(Qt::Key_Return) << false << true << QString();
}

void TestInputGate::keys()
{
    QFETCH(int, key);
    QFETCH(bool, repeat);
    QFETCH(bool, modalOnTop);
    QFETCH(QString, actions);
    InputGate gate;
    gate.setKeyMap(KeyMap());
    QWidget window;
    window.show();
    QStringList given;
    gate.routeKeys(&window, [&](KeyAction action) {
        given << (action == KeyAction::DishReady ? u"DishReady"_s : action == KeyAction::NextDish ? u"NextDish"_s : u"other"_s);
        return true;
    });
    QDialog modal;
    if (modalOnTop)
        modal.open();
    QTest::sendKeyEvent(QTest::Press, &window, Qt::Key(key), QString(), Qt::NoModifier);
    if (repeat) {
        QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        given.clear();
        QApplication::sendEvent(&window, &held);
    }
    QCOMPARE(given.join(u' '), actions);
}

QTEST_MAIN(TestInputGate)
#include "TestInputGate.moc"
