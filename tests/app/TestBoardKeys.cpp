// The monitor worked from a keypad or a bump bar alone: every key of the map pressed at the real
// board and in the order window on a real database, the states read back from the database, with
// the default map and with a changed "Keys.txt".

#include "DataGrid.h"
#include "FileBytes.h"
#include "Form_Detail.h"
#include "Form_Main.h"
#include "Form_Time.h"
#include "MonitorRig.h"
#include "OrderBoard.h"
#include "OrderRows.h"
#include "Query.h"
#include "ReadyStrip.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
// Runs `act` once the modal window is on the screen; gives up after five seconds.
QPointer<QTimer> whenShown(QWidget* window, const std::function<void()>& act)
{
    auto* timer = new QTimer;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, window, act] {
        if (!window->isVisible() && waited.elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (window->isVisible())
            act();
    });
    timer->start(5);
    return timer;
}

void press(QWidget* to, const QString& name)
{
    const QKeyCombination key = QKeySequence::fromString(name, QKeySequence::PortableText)[0];
    QTest::keyClick(to, key.key(), key.keyboardModifiers());
}
}

class TestBoardKeys : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaultKeys_data();
    void defaultKeys() { drive(); }
    void changedKeys_data();
    void changedKeys() { drive(); }

private:
    void columns();
    void drive();
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};

void TestBoardKeys::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, u"Петров Сергей"_s);
    // Eight orders, two pages: order N (key 99 + N) has "Суп N", then "Каша N".
    for (int n = 1; n <= 8; ++n) {
        m_rows->addOrder(99 + n, n);
        m_rows->addLine(99 + n, 1, 2, u"Суп %1"_s.arg(n), u"20, 5, DATEADD(-40 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
        m_rows->addLine(99 + n, 1, 2, u"Каша %1"_s.arg(n), u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    }
    // The serving-time window is in reach, so that a stray Enter could open it.
    m_db->exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (1, 'time_monitor')"_s);
}

void TestBoardKeys::columns()
{
    // Steps: key names pressed at the board ("Num+6" from the keypad); "K>A>B" presses K at the
    // board and A, B in the order window it opens; "poll"; "idle" (a minute without input);
    // "pos:S:D" the point of sale setting the dishes D (a LIKE pattern) to state S; "held:D" the
    // point of sale holding the line of dish D; "touch:P:D" a touch on dish D of panel P, and
    // "hold:P:D" ... "release" a press there held over the steps between. "_" in a dish stands for
    // a space. A step comes 0.6 s after the one before, 0.45 s when it starts with "~". Read back:
    // the ready dishes, the choice "order/dish" with the page's first place, and what else the
    // board shows (the strip, a box, a window opened by a touch).
    QTest::addColumn<QByteArray>("keysFile"); // empty: the defaults
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("ready");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("seen");
}

void TestBoardKeys::defaultKeys_data()
{
    columns();
    const QByteArray none;
    QTest::newRow("3") << none << u"3"_s << u""_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("keypad 6") << none << u"Num+6"_s << u""_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("an empty panel") << none << u"PgDown 4"_s << u""_s << u"- @7"_s << u""_s;
    QTest::newRow("Right turns the page") << none << u"6 Right"_s << u""_s << u"7/Суп 7 @7"_s << u""_s;
    QTest::newRow("Left back over the page") << none << u"PgDown 1 Left"_s << u""_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("Down, Up") << none << u"2 Down Down Up Down"_s << u""_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter: the next dish is chosen") << none << u"2 Enter"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter on the last dish") << none << u"2 Down Enter Enter"_s << u"Каша 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter twice: the next order") << none << u"2 Enter Enter"_s << u"Суп 2,Каша 2"_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("+") << none << u"4 +"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
    QTest::newRow("+ on page 2") << none << u"PgDown 2 +"_s << u"Суп 8,Каша 8"_s << u"7/Суп 7 @7"_s << u"Заказ № 8 готов"_s;
    QTest::newRow("-") << none << u"4 + -"_s << u""_s << u"5/Суп 5 @1"_s << u""_s;
    QTest::newRow("- after a dish: the recall list") << none << u"3 Enter -"_s << u""_s << u"3/Каша 3 @1"_s << u""_s;
    QTest::newRow("- again goes further back") << none << u"4 + 5 + - -"_s << u""_s << u"7/Суп 7 @7"_s << u""_s;
    QTest::newRow("- with nothing to take back") << none << u"3 Enter - -"_s << u""_s << u"3/Каша 3 @1"_s << u""_s;
    QTest::newRow("*") << none << u"4 + *"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов, all"_s;
    // "+" and "*" typed on an ordinary keyboard come with Shift.
    QTest::newRow("Shift++") << none << u"4 Shift++"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
    QTest::newRow("Shift+*") << none << u"4 + Shift+*"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов, all"_s;
    QTest::newRow("PgDown takes the choice along") << none << u"3 PgDown"_s << u""_s << u"7/Суп 7 @7"_s << u""_s;
    QTest::newRow("PgUp") << none << u"PgDown 2 PgUp"_s << u""_s << u"1/Суп 1 @1"_s << u""_s;
    QTest::newRow("0") << none << u"0"_s << u""_s << u"- @1"_s << u"stretched"_s;
    QTest::newRow("Esc drops the choice") << none << u"3 Down Esc"_s << u""_s << u"- @1"_s << u""_s;
    QTest::newRow(". opens the chosen dish, Enter marks it")
        << none << u"2 Down .>Enter>Esc"_s << u"Каша 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Del, dishes moved in the window") << none << u"1 Del>Down>Up>Down>Enter>Esc"_s << u"Каша 1"_s << u"1/Суп 1 @1"_s << u""_s;
    QTest::newRow("+ in the window") << none << u"3 .>+"_s << u"Суп 3,Каша 3"_s << u"4/Суп 4 @1"_s << u"Заказ № 3 готов"_s;
    QTest::newRow("kept across a poll") << none << u"5 Down poll"_s << u""_s << u"5/Каша 5 @1"_s << u""_s;
    QTest::newRow("order gone at a poll") << none << u"5 pos:3:%_5 poll"_s << u"Суп 5,Каша 5"_s << u"6/Суп 6 @1"_s << u""_s;
    QTest::newRow("idle drops it") << none << u"5 Down idle"_s << u""_s << u"- @1"_s << u""_s;
    QTest::newRow("a touch chooses, keys go on") << none << u"touch:4:Каша_4 Up Enter"_s << u"Суп 4"_s << u"4/Каша 4 @1"_s << u"opened Каша 4"_s;
    // The keys take the touches' paths: their guards, their questions and their boxes.
    QTest::newRow("Enter again within 0.45 s") << none << u"2 Enter ~Enter"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("+ leaves a dish not yet shown") << none << u"pos:1:Каша_3 3 +"_s << u"Суп 3"_s << u"4/Суп 4 @1"_s << u"Заказ № 3 готов"_s;
    QTest::newRow("- returns the +, not the Enter before") << none << u"3 Down Enter 3 + -"_s << u"Каша 3"_s << u"4/Суп 4 @1"_s << u""_s;
    QTest::newRow("Enter on a line held by the point of sale") << none << u"held:Суп_2 2 Enter"_s << u""_s << u"2/Суп 2 @1"_s
                                                               << u"Блюдо не отмечено: строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("+ on a line held by the point of sale") << none << u"held:Каша_4 4 +"_s << u""_s << u"4/Суп 4 @1"_s
                                                           << u"Заказ не отмечен: строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("Enter on a dish gone meanwhile") << none << u"2 Down pos:0:Каша_2 Enter"_s << u""_s << u"2/Суп 2 @1"_s << u""_s;
    // A window just closed keeps touches off the board for half a second, not keys.
    QTest::newRow("a key just after a window closed") << none << u"2 .>Esc ~Enter"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("a touch just after a window closed") << none << u"2 .>Esc ~touch:4:Каша_4"_s << u""_s << u"2/Суп 2 @1"_s << u""_s;
    // A press held while a poll reflows the board neither opens nor chooses what lies there now.
    QTest::newRow("a press held across a poll") << none << u"hold:4:Каша_4 pos:3:%_4 poll release"_s << u"Суп 4,Каша 4"_s << u"- @1"_s << u""_s;
}

void TestBoardKeys::changedKeys_data()
{
    columns();
    const QByteArray bar = "DishReady F1\r\nNextOrder Tab\r\n";
    QTest::newRow("moved keys") << bar << u"Tab Tab F1"_s << u"Суп 2"_s << u"2/Каша 2 @1"_s << u""_s;
    QTest::newRow("Enter no longer marks") << bar << u"1 Enter Return Right"_s << u""_s << u"1/Суп 1 @1"_s << u""_s;
    // Enter left over in the window presses no button: the serving-time window stays shut.
    QTest::newRow("in the window") << bar << u"1 .>Enter>F1>Esc"_s << u"Суп 1"_s << u"1/Суп 1 @1"_s << u""_s;
    const QByteArray broken = "Bump F1\r\nTakeBack F2\r\n";
    QTest::newRow("a line that cannot be read") << broken << u"4 + F1 F2"_s << u""_s << u"5/Суп 5 @1"_s << u""_s;
    QTest::newRow("- is nothing now") << broken << u"4 + -"_s << u"Суп 4,Каша 4"_s << u"5/Суп 5 @1"_s << u"Заказ № 4 готов"_s;
    QTest::newRow("Esc no longer drops") << QByteArray("Close F3\r\n") << u"3 Esc"_s << u""_s << u"3/Суп 3 @1"_s << u""_s;
    QTest::newRow("F3 drops") << QByteArray("Close F3\r\n") << u"3 F3"_s << u""_s << u"- @1"_s << u""_s;
}

void TestBoardKeys::drive()
{
    QFETCH(QByteArray, keysFile);
    QFETCH(QString, steps);
    QFETCH(QString, ready);
    QFETCH(QString, chosen);
    QFETCH(QString, seen);
    if (keysFile.contains("Bump"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Keys.txt keeps the default keys"_s));
    MonitorRig m(m_db->name(), [&](const QString& folder) {
        if (!keysFile.isEmpty())
            QVERIFY(putFile(folder + u"/Keys.txt"_s, keysFile));
    });
    Form_Main& main = m.main();
    Form_Detail& detail = *m.forms().Detail;
    main.IdleTimer.stop(); // the test runs the idle check itself
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    main.RefreshOrderList();
    main.FillPage();
    bool servingTimesShown = false;
    bool leftOpen = false;
    QStringList shown;
    std::unique_ptr<HeldLine> held;
    QPair<QWidget*, QPoint> pressed;
    // A window that a touch opens: the dish current there, then closed.
    auto readOpened = [&] {
        shown << u"opened "_s + detail.Q->asString(u"NAME_BLUDO"_s).value_or(QString());
        detail.BtnExit->click();
    };

    for (QString step : steps.split(u' ')) {
        // A cook's presses are more than a double tap apart, unless told.
        const bool soon = step.startsWith(u'~');
        m.machine.clock.time = m.machine.clock.time.addMSecs(soon ? 450 : Form_Detail::DoubleTapMilliseconds + 100);
        step = step.mid(soon ? 1 : 0);
        const QString verb = step.section(u':', 0, 0), arg = QString(step.section(u':', 1)).replace(u'_', u' ');
        if (step == u"poll")
            m.polling().onTimer();
        else if (step == u"idle") {
            m.machine.idle.lastInput = 0;
            m.machine.idle.now = 60000;
            main.IdleTimerTimer();
        } else if (verb == u"pos")
            m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE NAME_BLUDO LIKE '%2'"_s.arg(arg.section(u':', 0, 0), QString(step.section(u':', 2))));
        else if (verb == u"held")
            held = std::make_unique<HeldLine>(m_db->name(), arg);
        else if (verb == u"touch" || verb == u"hold") {
            DataGrid* grid = qobject_cast<DataGrid*>(main.panelGrids()[size_t(arg.section(u':', 0, 0).toInt() - 1)]);
            QAbstractItemModel* model = grid->model();
            const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, arg.section(u':', 1), 1, Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            pressed = {grid->viewport(), grid->visualRect(found.first()).center()};
            QPointer<QTimer> waiting = whenShown(&detail, readOpened);
            if (verb == u"touch")
                QTest::mouseClick(pressed.first, Qt::LeftButton, {}, pressed.second);
            else
                QTest::mousePress(pressed.first, Qt::LeftButton, {}, pressed.second);
            delete waiting;
        } else if (verb == u"release") {
            QPointer<QTimer> waiting = whenShown(&detail, readOpened);
            QTest::mouseRelease(pressed.first, Qt::LeftButton, {}, pressed.second);
            delete waiting;
        } else if (step.contains(u'>')) {
            const QStringList inWindow = step.split(u'>').mid(1);
            QPointer<QTimer> inside = whenShown(&detail, [&] {
                QPointer<QTimer> stray = whenShown(m.forms().Time, [&] {
                    servingTimesShown = true;
                    m.forms().Time->reject();
                });
                for (const QString& key : inWindow) {
                    m.machine.clock.time = m.machine.clock.time.addMSecs(Form_Detail::DoubleTapMilliseconds + 100);
                    if (detail.isVisible())
                        press(detail.G, key);
                }
                delete stray;
                if (detail.isVisible()) {
                    leftOpen = true;
                    detail.BtnExit->click();
                }
            });
            press(&main, step.section(u'>', 0, 0));
            delete inside;
        } else
            press(&main, step);
    }

    QStringList readyDishes;
    Query q(m.base().MyDB, m.base().TransactionRead);
    q.setSql({u"SELECT NAME_BLUDO FROM ZAKAZ_STR WHERE PRINT_SECTION = 3 ORDER BY KOD"_s});
    q.prepare();
    q.open();
    for (int i = 0; i < q.recordCount(); ++i)
        readyDishes << *q.row(i)[0].toText();
    QCOMPARE(readyDishes.join(u','), ready);

    const BoardChoice& choice = main.board().choice();
    QString read = u"-"_s;
    if (choice.order()) {
        const DbValue dish = choice.dish() ? m_db->value(u"SELECT NAME_BLUDO FROM ZAKAZ_STR WHERE KOD = %1"_s.arg(*choice.dish())) : DbValue();
        read = QString::number(*choice.order() - 99) + u'/' + dish.toText().value_or(u"-"_s);
    }
    QCOMPARE(read + u" @"_s + QString::number(m.state.PageFirst), chosen);
    // The frames show the choice, in the chosen order's panel.
    const int panel = main.board().chosenPanel();
    QCOMPARE(panel >= 0, choice.active());
    QWidget* frame = main.board().choiceFrames().orderFrame();
    QCOMPARE(frame && frame->isVisibleTo(&main), choice.active());
    if (panel >= 0)
        QCOMPARE(frame->parentWidget(), main.panels()[size_t(panel)]);

    held.reset();
    if (main.StripReady->isVisibleTo(&main))
        shown << main.StripReady->Label->text();
    if (main.board().AllOrders)
        shown << u"all"_s;
    if (m.state.HotExpanded)
        shown << u"stretched"_s;
    // One box in the cooks' words for a failed action, the server's text beneath; none otherwise.
    for (const QString& box : m.machine.dialogs.messages)
        shown << QString(box).replace(QRegularExpression(u"\n\n.+"_s, QRegularExpression::DotMatchesEverythingOption), u" …"_s);
    QCOMPARE(shown.join(u", "_s), seen);
    QVERIFY(!servingTimesShown);
    QVERIFY(!leftOpen);
}

QTEST_MAIN(TestBoardKeys)
#include "TestBoardKeys.moc"
