#pragma once
// The cook's steps on one order of the board and its window, on a real database with the
// program's own windows: touches, presses, take-backs, the point of sale's changes and a lost
// connection, each step a word of a row, and what the cook read, the dishes' states and the
// board's rest read back after them. The touch rules' rows and the presses' rows run in test
// executables of their own.

#include "OrderMonitor.h"

namespace CookSteps {
inline void columns()
{
    // "open" touches Пельмени in the first panel, and the steps up to "close" act in the window
    // it opens; "touch:W:D" reads the caption and current dish of the window that a touch opens on
    // the dish D in the hot queue (W "hot"), the panel, the hot queue's row indicator, or on its
    // titles or the middle of the first panel; "hold:W:D" presses there and "release" lets go;
    // "tap" touches the place of "Заказ полностью готов" on whatever window lies there, and a window
    // it opens is tapped there again; "later:N" lets N ms pass (500 unless told); "pos:S:D" is the
    // point of sale setting the dishes D (a LIKE pattern) to state S, "held:D" holding the line,
    // "minute" changing what the hot queue reads but does not show; "no" answers the next question
    // with Cancel; "box:K+K" asks the next question in a real box and presses the keys K in it
    // ("idle": the idle time runs out instead), a box they leave open read as "left open" and
    // closed; "cut" breaks the connection off. The states are those of Голубцы, Пельмени, Чай
    // чёрный, Хлеб, Стейк and Рис с овощами.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("seen"); // what the cook read on the way
    QTest::addColumn<QString>("states");
}

inline void run(TestDatabase& db, OrderRows& rows, const QString& steps, const QString& seen, const QString& states)
{
    auto addLine = [&](int section, int state, const QString& dish,
                       const QString& timing = u"20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"_s,
                       int order = 100) { rows.addLine(order, section, state, dish, timing); };
    auto stateOf = [&](const QString& dish) { return rows.stateOf(dish); };
    db.exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    const QString ago = u"20, 5, DATEADD(%1 MINUTE TO CURRENT_TIMESTAMP), NULL"_s;
    addLine(1, 2, u"Голубцы"_s, ago.arg(-40));
    addLine(1, 2, u"Пельмени"_s, ago.arg(-35));
    addLine(1, 2, u"Чай чёрный"_s, ago.arg(-30));
    addLine(1, 2, u"Рис с овощами"_s, ago.arg(-60), 101); // first in the hot queue
    addLine(1, 3, u"Хлеб"_s);  // ready before
    addLine(2, 3, u"Стейк"_s); // a section this monitor does not serve
    TcpProxy proxy;
    Monitor m(proxy.databaseName(db.path()));
    Form_Main& main = m.main();
    Form_Detail& detail = m.detail();
    ReadyStrip* strip = main.StripReady;
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    m.machine.idle.now = 60000; // a minute without a touch, for the idle check when it runs
    const QStringList todo = steps.split(u' ');
    QString read;
    std::unique_ptr<HeldLine> held;
    QPair<QWidget*, QPoint> pressed;
    qsizetype i = 0;
    std::function<void()> run = [&] {
        for (; i < todo.size() && todo[i] != u"close"; ++i) {
            const QString step = todo[i].section(u':', 0, 0), arg = todo[i].section(u':', 1);
            if (step == u"open") {
                ++i;
                m.openFrom(main.G1, run, Monitor::rowOf(main.G1, u"Пельмени"_s));
            } else if (step == u"later")
                m.machine.clock.time = m.machine.clock.time.addMSecs(arg.isEmpty() ? 500 : arg.toInt());
            else if (step == u"dish" || step == u"order")
                QTest::mouseClick(step == u"dish" ? detail.BtnStr : detail.BtnAll, Qt::LeftButton);
            else if (step == u"read" && arg == u"strip")
                read = strip->isVisibleTo(&main) ? strip->Label->text() : QString();
            else if (step == u"read" && arg == u"asked")
                read = m.machine.dialogs.questions.value(0).section(u'|', 1);
            else if (step == u"read" && arg == u"box") // what the box says, and whether the server's text follows
                read = m.machine.dialogs.messages.join(u'|').replace(QRegularExpression(u"\n\n.+"_s, QRegularExpression::DotMatchesEverythingOption), u" …"_s);
            else if (step == u"read" && arg == u"chosen") // the dish the hot queue shows chosen
                read = main.GHot->selectionModel()->selectedRows(1).value(0).data().toString();
            else if (step == u"read")
                read = (arg == u"dish" ? detail.BtnStr : detail.BtnAll)->text();
            else if (step == u"choose")
                QTest::mouseClick(detail.G->viewport(), Qt::LeftButton, {}, Monitor::rowOf(detail.G, arg));
            else if (step == u"current")
                QCOMPARE(m.current(), arg);
            else if (step == u"pos")
                db.exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE NAME_BLUDO LIKE '%2'"_s.arg(arg.left(1), arg.mid(2)));
            else if (step == u"minute")
                db.exec(u"UPDATE ZAKAZ_STR SET MY_ALARM = MY_ALARM + 1"_s);
            else if (step == u"held")
                held = std::make_unique<HeldLine>(db.name(), arg);
            else if (step == u"no")
                m.machine.dialogs.answers << false;
            else if (step == u"box") {
                const QStringList keys = arg.split(u'+');
                m.machine.dialogs.asking = [&, keys](QWidget* parent, const QString& caption, const QString& text, Dialogs::Focus focus) {
                    auto* driver = new QTimer;
                    QObject::connect(driver, &QTimer::timeout, [&, driver, keys] {
                        QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                        if (!box || !box->isVisible())
                            return;
                        driver->deleteLater();
                        driver->stop();
                        for (const QString& key : keys) {
                            if (!box || !box->isVisible())
                                break;
                            if (key == u"idle") {
                                main.IdleTimerTimer();
                                continue;
                            }
                            const QKeyCombination k = QKeySequence::fromString(key, QKeySequence::PortableText)[0];
                            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box.data(), k.key(), k.keyboardModifiers());
                        }
                        if (box && box->isVisible()) {
                            read = u"left open"_s;
                            box->reject();
                        }
                    });
                    driver->start(5);
                    return QtDialogs().question(parent, caption, text, focus);
                };
            } else if (step == u"cut")
                proxy.kill();
            else if (step == u"board")
                main.show();
            else if (step == u"Все" || step == u"Отменить")
                QTest::mouseClick(step == u"Все" ? main.BtnAll : strip->BtnUndo, Qt::LeftButton);
            else if (step == u"hold") {
                DataGrid* grid = arg.startsWith(u"hot") ? main.GHot : main.G1;
                pressed = {grid->viewport(), Monitor::rowOf(grid, arg.section(u':', 1))};
                QTest::mousePress(pressed.first, Qt::LeftButton, {}, pressed.second);
            } else if (step == u"release")
                m.whileOpen([&] { QTest::mouseRelease(pressed.first, Qt::LeftButton, {}, pressed.second); },
                            [&] { read = detail.Heading->text(); });
            else if (step == u"tap") {
                const QPoint spot = detail.mapToGlobal(detail.BtnAll->geometry().center());
                auto tap = [spot](QWidget* window) {
                    QWidget* there = window->childAt(window->mapFromGlobal(spot));
                    QTest::mouseClick(there ? there : window, Qt::LeftButton, {}, (there ? there : window)->mapFromGlobal(spot));
                };
                m.whileOpen([&] { tap(&main); }, [&] {
                    read = detail.Heading->text();
                    tap(&detail);
                });
            } else if (step == u"touch") {
                const QString where = arg.section(u':', 0, 0);
                DataGrid* grid = where == u"panel" ? main.G1 : main.GHot;
                const QPoint cell = Monitor::rowOf(grid, arg.section(u':', 1));
                // Whatever lies on top in the first panel, below its four dishes, takes the touch there.
                const QPoint centre = main.GroupBox1->geometry().center() + QPoint(0, main.GroupBox1->height() / 4);
                QWidget* there = main.page->childAt(centre);
                const QHash<QString, QPair<QWidget*, QPoint>> places{
                    {u"indicator"_s, {grid->verticalHeader()->viewport(), QPoint(4, cell.y())}},
                    {u"titles"_s, {grid->horizontalHeader()->viewport(), QPoint(40, 5)}},
                    {u"centre"_s, {there, there->mapFrom(main.page, centre)}},
                };
                const auto [target, at] = places.value(where, {grid, cell});
                m.openFrom(target, [&] { read = detail.Heading->text() + u" | "_s + m.current(); }, at);
            } else if (step == u"poll" || step == u"show")
                step == u"poll" ? m.poll() : main.BtnShow->click();
            else if (step == u"idle")
                main.IdleTimerTimer();
            else if (step == u"time-up")
                strip->TimerReady.start(1);
        }
    };
    run();
    held.reset();
    QCOMPARE(read, seen);
    QTRY_VERIFY(!strip->isVisibleTo(&main));
    for (QGroupBox* panel : main.panels()) // where the strip was shown, over the hot queue
        QVERIFY(!strip->geometry().intersects(panel->geometry()));
    QString found;
    for (const QString& dish : {u"Голубцы"_s, u"Пельмени"_s, u"Чай чёрный"_s, u"Хлеб"_s, u"Стейк"_s, u"Рис с овощами"_s})
        found += QString::number(stateOf(dish));
    QCOMPARE(found, states);
    // The board was read again after the last action: it lists the orders with dishes at work.
    QCOMPARE(main.board().orderCount(), main.board().AllOrders ? 2 : found.left(4).contains(u'2') + (found[5] == u'2'));
    // Lines back at work are shown ones, not new ones: nothing sounds but a line the point of
    // sale made new again.
    m.poll();
    QCOMPARE(m.machine.speaker.beeps.size(), steps.contains(u"pos:1") && !steps.contains(u"cut") ? 1 : 0);
    // One box for a failed action, none otherwise; every question leaves the dishes as they are
    // on Enter.
    QCOMPARE(m.machine.dialogs.messages.size(), steps.count(u"read:box"));
    QVERIFY(!m.machine.dialogs.focused.contains(Dialogs::Focus::Ok));
}
}
