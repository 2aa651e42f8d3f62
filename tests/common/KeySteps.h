#pragma once
// The monitor worked from a keypad or a bump bar alone: keys of the map pressed at the real
// board and in the order window on a real database, the states read back from the database,
// with the default map and with a changed "Keys.txt". The rows run in executables of their own:
// the keys that choose and page, the keys that press, the keys that take back, and the guards.

#include "DataGrid.h"
#include "FileBytes.h"
#include "Form_Detail.h"
#include "Form_Ready.h"
#include "Form_Main.h"
#include "Form_Net.h"
#include "Form_Vid.h"
#include "Form_Time.h"
#include "InputGate.h"
#include "MonitorRig.h"
#include "OrderBoard.h"
#include "OrderRows.h"
#include "Query.h"
#include "QtDialogs.h"
#include "ReadyStrip.h"
#include "Settings.h"
#include "SettingsNames.h"

#include <QApplication>
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include "InputGate.h"
#include "TestDatabase.h"

using namespace Qt::StringLiterals;

namespace KeySteps {
// Runs `act` once the modal window is on the screen; gives up after five seconds.
inline QPointer<QTimer> whenShown(QWidget* window, const std::function<void()>& act)
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

inline void press(QWidget* to, const QString& name)
{
    const QKeyCombination key = QKeySequence::fromString(name, QKeySequence::PortableText)[0];
    QTest::keyClick(to, key.key(), key.keyboardModifiers());
}

// Eight orders, two pages: order N (key 99 + N) has "Суп N", then "Каша N".
inline void fill(TestDatabase& db, OrderRows& rows)
{
    for (int n = 1; n <= 8; ++n) {
        rows.addOrder(99 + n, n);
        rows.addLine(99 + n, 1, 2, u"Суп %1"_s.arg(n), u"20, 5, DATEADD(-40 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
        rows.addLine(99 + n, 1, 2, u"Каша %1"_s.arg(n), u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    }
    // The serving-time window is in reach, so that a stray Enter could open it, and so are the
    // limits of a menu of one dish, for a stray tap on their button.
    db.exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (1, 'time_monitor')"_s);
    db.exec(u"INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (2, 'limit_monitor')"_s);
    db.exec(u"INSERT INTO SPISOK_MENU (KOD, NAME) VALUES (1, 'Основное')"_s);
    db.exec(u"UPDATE SMENA SET KOD_MENU = 1 WHERE STATUS = 1"_s);
    db.exec(u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (11, 1, 1, 'Супы')"_s);
    db.exec(u"INSERT INTO MENU_STR (KOD, KOD_MENU, KOD_MENU_GROUP, NAME, VIHOD, CENA) VALUES (1, 1, 11, 'Суп', '300 г', 320)"_s);
}

// The settings as the files hold them and as the program works with them.
inline QString settingsNow(MonitorRig& m)
{
    QString read;
    // The sections are the cooks' to change, by a touch and a question.
    for (const QFileInfo& file : QDir(m.dir.path()).entryInfoList({u"*.txt"_s}, QDir::Files, QDir::Name)) {
        if (file.fileName() == SettingsNames::Section)
            continue;
        QFile f(file.filePath());
        read += file.fileName() + u'=' + (f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().toHex()) : QString()) + u';';
    }
    const Settings& live = m.windows->settings();
    return read + live.idle() + u'/' + live.duration() + u'/' + live.amount() + u'/' + QString::number(live.output());
}

// A stray tap on the board's button, then the keys pressed into whichever window or box is on
// top, one at a time; "later:N" lets N ms pass, and a last "wait" gives the windows time to
// close by themselves. Windows the keys leave open are read as "left open" and closed.
inline void strayTap(MonitorRig& m, const QString& buttonName, QStringList keys, QStringList& shown)
{
    auto* button = m.main().findChild<QAbstractButton*>(buttonName);
    QVERIFY(button && button->isEnabled());
    // The questions in real boxes, whose keys are the gate's.
    std::function<bool(QWidget*, const QString&, const QString&, Dialogs::Focus)> real =
        [&](QWidget* parent, const QString& caption, const QString& text, Dialogs::Focus focus) {
            m.machine.dialogs.asking = real;
            return QtDialogs().question(parent, caption, text, focus);
        };
    m.machine.dialogs.asking = real;
    auto closeLeft = [&] {
        while (auto* top = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown << u"left open "_s + top->windowTitle();
            top->reject();
        }
    };
    bool done = false, opened = false;
    QObject scope; // what is still to run goes with this step
    std::function<void()> next = [&] {
        if (keys.isEmpty() || keys.first() == u"wait") {
            QTimer::singleShot(keys.isEmpty() ? 0 : 1500, &scope, closeLeft);
            done = true;
            return;
        }
        // The keys start once the tap's window is up; then they go where the focus is.
        QWidget* top = QApplication::activeModalWidget();
        QTimer::singleShot(10, &scope, next);
        if (!top && !opened)
            return;
        opened = true;
        const QString key = keys.takeFirst();
        if (key.startsWith(u"later:")) {
            m.machine.clock.time = m.machine.clock.time.addMSecs(key.mid(6).toInt());
            return;
        }
        m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::DoubleTapMilliseconds + 100);
        if (!top)
            top = &m.main();
        press(top->focusWidget() ? top->focusWidget() : top, key);
    };
    QTimer::singleShot(10, &scope, next);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(opened);
    QTRY_VERIFY(done);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    m.machine.dialogs.asking = nullptr;
}

inline void columns()
{
    // Steps: key names pressed at the board ("Num+6" from the keypad); "shown" shows the board; "tab:B" and "focus:B" give the board's button B the focus by Tab or by itself; "auto:K" the key K as a held
    // key's repeat; "K>A>B" presses K at the board and A, B in the window it opens (the order
    // window, the recall list); "poll"; "idle" (a minute without input); "no" answers the next
    // question with Cancel; "section:N" a touch on the box of section N;
    // "pos:S:D" the point of sale setting the dishes D (a LIKE pattern) to state S; "held:D" the
    // point of sale holding the line of dish D; "touch:P:D" a touch on dish D of panel P, and
    // "hold:P:D" ... "release" a press there held over the steps between. "_" in a dish stands for
    // a space. A step comes 0.6 s after the one before, 0.45 s when it starts with "~". Read back:
    // the ready dishes, the choice "order/dish" with the page's first place, and what else the
    // board shows (the strip, a box, a question's first line, a window opened by a touch).
    QTest::addColumn<QByteArray>("keysFile"); // empty: the defaults
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("ready");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("seen");
}

inline void drive(TestDatabase& db)
{
    QFETCH(QByteArray, keysFile);
    QFETCH(QString, steps);
    QFETCH(QString, ready);
    QFETCH(QString, chosen);
    QFETCH(QString, seen);
    if (keysFile.contains("Bump"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Keys.txt keeps the default keys"_s));
    MonitorRig m(db.name(), [&](const QString& folder) {
        if (!keysFile.isEmpty())
            QVERIFY(putFile(folder + u"/Keys.txt"_s, keysFile));
    });
    Form_Main& main = m.main();
    Form_Detail& detail = *m.forms().Detail;
    main.IdleTimer.stop(); // the test runs the idle check itself
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    main.RefreshOrderList();
    main.FillPage();
    const QString settingsBefore = settingsNow(m);
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
        m.machine.clock.time = m.machine.clock.time.addMSecs(soon ? 450 : InputGate::DoubleTapMilliseconds + 100);
        step = step.mid(soon ? 1 : 0);
        const QString verb = step.section(u':', 0, 0), arg = QString(step.section(u':', 1)).replace(u'_', u' ');
        if (step == u"poll")
            m.polling().onTimer();
        else if (step == u"idle") {
            m.machine.idle.lastInput = 0;
            m.machine.idle.now = 60000;
            main.IdleTimerTimer();
        } else if (step == u"no")
            m.machine.dialogs.answers << false;
        else if (verb == u"section")
            QTest::mouseClick(main.sectionBoxes()[size_t(arg.toInt() - 1)], Qt::LeftButton);
        else if (verb == u"stray")
            strayTap(m, arg.section(u'>', 0, 0), arg.split(u'>').mid(1), shown);
        else if (verb == u"auto") {
            const QKeyCombination key = QKeySequence::fromString(arg, QKeySequence::PortableText)[0];
            QKeyEvent repeat(QEvent::KeyPress, key.key(), key.keyboardModifiers(), arg, true);
            QApplication::sendEvent(&main, &repeat);
        } else if (verb == u"pos")
            db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE NAME_BLUDO LIKE '%2'"_s.arg(arg.section(u':', 0, 0), QString(step.section(u':', 2))));
        else if (verb == u"held")
            held = std::make_unique<HeldLine>(db.name(), arg);
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
            QWidget* window = step.startsWith(u'/') ? static_cast<QWidget*>(m.forms().Ready) : &detail;
            QPointer<QTimer> inside = whenShown(window, [&] {
                QPointer<QTimer> stray = whenShown(m.forms().Time, [&] {
                    servingTimesShown = true;
                    m.forms().Time->reject();
                });
                for (const QString& key : inWindow) {
                    m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::DoubleTapMilliseconds + 100);
                    if (window->isVisible())
                        press(window == &detail ? detail.G : window, key);
                }
                delete stray;
                if (window->isVisible()) {
                    leftOpen = true;
                    qobject_cast<QDialog*>(window)->reject();
                }
            });
            press(&main, step.section(u'>', 0, 0));
            delete inside;
        } else if (verb == u"focus" || verb == u"tab") {
            // A board button focused by the keyboard (Tab), or by itself.
            main.findChild<QWidget*>(arg)->setFocus(verb == u"tab" ? Qt::TabFocusReason : Qt::OtherFocusReason);
        } else if (step == u"shown") {
            main.show();
            QVERIFY(QTest::qWaitForWindowActive(&main));
        } else {
            // A key at the board opens none of the manager's windows.
            QList<QPointer<QTimer>> stray;
            for (QDialog* window : {static_cast<QDialog*>(m.forms().Net), static_cast<QDialog*>(m.forms().Vid)})
                stray << whenShown(window, [&shown, window] {
                    shown << u"opened "_s + window->windowTitle();
                    window->reject();
                });
            press(&main, step);
            qDeleteAll(stray);
        }
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
        const DbValue dish = choice.dish() ? db.value(u"SELECT NAME_BLUDO FROM ZAKAZ_STR WHERE KOD = %1"_s.arg(*choice.dish())) : DbValue();
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
    for (const QString& question : m.machine.dialogs.questions)
        shown << u"asked "_s + question.section(u'|', 1).section(u'\n', 0, 0);
    for (const QString& box : m.machine.dialogs.messages)
        shown << QString(box).replace(QRegularExpression(u"\n\n.+"_s, QRegularExpression::DotMatchesEverythingOption), u" …"_s);
    QCOMPARE(shown.join(u", "_s), seen);
    QVERIFY(!servingTimesShown);
    QVERIFY(!leftOpen);
    // No key ends the monitor, writes a setting or sets a limit.
    QVERIFY(!main.isClosed());
    QVERIFY(!m.state.RestartNeeded);
    QCOMPARE(settingsNow(m), settingsBefore);
    QCOMPARE(db.value(u"SELECT COUNT(*) FROM MENU_STR WHERE LIMIT IS NOT NULL"_s).toInt64(), 0);
}
}
