// The cook's actions on an order against a real database, with the program's own windows: an
// order opened from its panel or from the hot queue, a dish or the whole order marked ready or back,
// serving times given and taken away, and the board brought back to rest after the idle limit.

#include "OrderMonitor.h"

class TestOrderWindows : public OrderTest {
    Q_OBJECT
private slots:
    void initTestCase() { Form_Base::shortenLimits(3, 1); } // a held line is waited out in 1 s
    void init();
    void dishReady_data();
    void dishReady();
    void orderReadyInServedSectionsOnly();
    void everyHidingRefreshesTheBoard_data();
    void everyHidingRefreshesTheBoard();
    void hotQueueClickFollowsTheMode_data();
    void hotQueueClickFollowsTheMode();
    void idleRestsTheBoard();
    void idlePressWaitsForServingTimes();
    void servingTimes_data();
    void servingTimes();
    void pickerKeepsWithinAYear_data();
    void pickerKeepsWithinAYear();
    void pickerArrowsGrowWithTheWindow();
    void emptyGridSendsNothing();

};

void TestOrderWindows::init()
{
    startOrder();
}

void TestOrderWindows::dishReady_data()
{
    QTest::addColumn<bool>("fromHotQueue");
    QTest::addColumn<QStringList>("listedAfter");
    // The panel lists shown and ready lines; the hot queue in unfulfilled mode shown ones only.
    QTest::newRow("panel") << false << QStringList{u"Уха"_s, u"Котлета"_s};
    QTest::newRow("hot queue") << true << QStringList{u"Котлета"_s};
}

void TestOrderWindows::dishReady()
{
    QFETCH(bool, fromHotQueue);
    QFETCH(QStringList, listedAfter);
    addLine(1, 2, u"Уха"_s);
    addLine(1, 2, u"Котлета"_s, u"20, 5, DATEADD(-25 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    Monitor m(m_db->name());
    m.poll();
    QStringList listed, before;
    QString caption;
    bool drawnReady = false;
    m.openFrom(fromHotQueue ? static_cast<QWidget*>(m.main().GHot) : m.main().G1, [&] {
        caption = m.detail().Heading->text();
        before = m.dishes();
        m.detail().Q->locate(u"KOD"_s, *m_db->value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Уха'"_s).toInt64());
        m.detail().BtnStr->click();
        listed = m.dishes();
        QueryModel* ds = m.detail().DS;
        drawnReady = ds->data(ds->index(0, 0), Qt::BackgroundRole).isValid();
    });
    QCOMPARE(caption, u"Петров Сергей, № 7, Стол 4"_s);
    // Named inside, as large as the dishes, for a kiosk shows no title bar; the chosen dish is
    // framed, its own colours kept, not filled.
    QCOMPARE(m.detail().Heading->font().pixelSize(), m.detail().G->font().pixelSize());
    QCOMPARE(m.detail().G->palette().color(QPalette::Active, QPalette::Highlight), QColor(Qt::transparent));
    QCOMPARE(before, (QStringList{u"Уха"_s, u"Котлета"_s}));
    QCOMPARE(stateOf(u"Уха"_s), 3);
    QCOMPARE(stateOf(u"Котлета"_s), 2);
    QCOMPARE(listed, listedAfter);
    QCOMPARE(drawnReady, !fromHotQueue);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
}

void TestOrderWindows::orderReadyInServedSectionsOnly()
{
    const QList<int> sections{1, 2, 3, 4, 5, 800, 900};
    for (int section : sections)
        addLine(section, 2, u"Блюдо %1"_s.arg(section));
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO) VALUES (101, 2, 2, 'Другой заказ', 1)"_s);
    Monitor m(m_db->name(), {2});
    bool closed = false;
    m.openFrom(m.main().G1, [&] {
        m.detail().BtnAll->click();
        closed = !m.detail().isVisible();
    });
    QVERIFY(closed);
    QVERIFY(!m.detail().Q->isOpen());
    const QList<int> served{2, 800, 900};
    for (int section : sections)
        QCOMPARE(stateOf(u"Блюдо %1"_s.arg(section)), served.contains(section) ? 3 : 2);
    QCOMPARE(stateOf(u"Другой заказ"_s), 2);
    // The order has left the board: only the other one is listed.
    QCOMPARE(m.main().GroupBox1->title(), u"Петров Сергей, № 8, "_s);
    QVERIFY(m.main().G2->isHidden());
}

void TestOrderWindows::everyHidingRefreshesTheBoard_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button") << u"exit"_s;
    QTest::newRow("close box") << u"close"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("idle") << u"idle"_s;
}

void TestOrderWindows::everyHidingRefreshesTheBoard()
{
    QFETCH(QString, how);
    addLine(1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    bool hidden = false;
    m.openFrom(m.main().G1, [&] {
        // The point of sale's cook marks the dish elsewhere meanwhile.
        m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
        if (how == u"exit")
            m.detail().BtnExit->click();
        else if (how == u"close")
            m.detail().close();
        else if (how == u"escape")
            QTest::keyClick(&m.detail(), Qt::Key_Escape);
        else {
            m.machine.idle.lastInput = 0;
            m.machine.idle.now = 6000;
            m.main().IdleTimerTimer();
        }
        hidden = !m.detail().isVisible();
    });
    QVERIFY(hidden);
    QVERIFY(m.main().G1->isHidden());
    QCOMPARE(m.main().GroupBox1->title(), QString());
}

void TestOrderWindows::hotQueueClickFollowsTheMode_data()
{
    QTest::addColumn<bool>("allOrders");
    QTest::addColumn<QStringList>("listed");
    // Every section of the order, not only the served ones.
    QTest::newRow("unfulfilled") << false << QStringList{u"Уха"_s, u"Салат"_s, u"Новое"_s};
    QTest::newRow("all") << true << QStringList{u"Уха"_s, u"Салат"_s, u"Новое"_s, u"Готово"_s};
}

void TestOrderWindows::hotQueueClickFollowsTheMode()
{
    QFETCH(bool, allOrders);
    QFETCH(QStringList, listed);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM, START_TIME)"
               " VALUES (101, 1, 2, 'Первым в очереди', 1, 20, 5, DATEADD(-60 MINUTE TO CURRENT_TIMESTAMP))"_s);
    addLine(1, 2, u"Уха"_s);
    addLine(3, 2, u"Салат"_s, u"20, 5, DATEADD(-10 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    addLine(1, 3, u"Готово"_s, u"20, 5, DATEADD(-5 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    addLine(1, 1, u"Новое"_s, u"20, 5, DATEADD(-5 MINUTE TO CURRENT_TIMESTAMP), NULL"_s);
    Monitor m(m_db->name());
    if (allOrders)
        m.main().BtnAllClick();

    // An empty hot queue opens nothing.
    int opened = 0;
    m.openFrom(m.main().GHot, [&] { ++opened; });
    QCOMPARE(opened, 0);

    m.poll(); // "Новое" is shown now, and the hot queue holds both orders' overdue dishes
    m.base().QHot.locate(u"KZ"_s, 100);
    QStringList seen;
    QString caption;
    // Below the last row: the current row's order opens.
    m.openFrom(m.main().GHot, [&] {
        seen = m.dishes();
        caption = m.detail().Heading->text();
    }, QPoint(20, m.main().GHot->viewport()->height() - 3));
    QVERIFY2(m.machine.dialogs.messages.isEmpty(), qPrintable(m.machine.dialogs.messages.join(u'\n')));
    QCOMPARE(caption, u"Петров Сергей, № 7, Стол 4"_s);
    QCOMPARE(QSet<QString>(seen.begin(), seen.end()), QSet<QString>(listed.begin(), listed.end()));

    // A right-button click on a row opens that row's order.
    Query& hot = m.base().QHot;
    QVERIFY(hot.locate(u"KZ"_s, 101));
    const QPoint row = m.main().GHot->visualRect(m.main().GHot->model()->index(hot.recNo(), 1)).center();
    QVERIFY(hot.locate(u"KZ"_s, 100));
    m.machine.clock.time = QDateTime::currentDateTime().addSecs(1); // a touch well after the window closed
    m.openFrom(m.main().GHot, [&] { caption = m.detail().Heading->text(); }, row, Qt::RightButton);
    QCOMPARE(caption, u"Петров Сергей, № 8"_s);
}

void TestOrderWindows::idleRestsTheBoard()
{
    Monitor m(m_db->name());
    Form_Main& main = m.main();
    const int normal = main.GHot->height();
    main.BtnShow->click();
    QCOMPARE(main.GHot->height(), main.GroupBox4->y() + main.GroupBox4->height());
    main.BtnShow->click();
    QCOMPARE(main.GHot->height(), normal);

    main.BtnShow->click();
    m.machine.idle.lastInput = 1000;
    m.machine.idle.now = 7000; // exactly 6 whole seconds: beyond the limit of 5
    main.IdleTimerTimer();
    QCOMPARE(main.GHot->height(), normal);
    QVERIFY(!m.state.HotExpanded);
    main.BtnShow->click();
    QVERIFY(main.GHot->height() > normal);

    // A refused request ends the check with the platform's text, one box at a time however
    // long it stays on the screen.
    m.machine.idle.refuse = true;
    m.machine.dialogs.onMessage = [] { QTest::qWait(2500); };
    main.IdleTimer.start(10); // a deadline about to pass
    QTRY_COMPARE(m.machine.dialogs.messages.size(), 1);
    m.machine.dialogs.onMessage = nullptr;
    main.IdleTimer.stop();
    QCOMPARE(m.machine.dialogs.messages.size(), 1);
    QCOMPARE(m.machine.dialogs.messages.first(), u"Время последнего ввода недоступно"_s);
    QVERIFY(main.GHot->height() > normal);
}

void TestOrderWindows::idlePressWaitsForServingTimes()
{
    addLine(1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    m.machine.idle.now = 60000;
    bool detailUnderServingTimes = false, servingTimesOpen = false;
    bool detailAfter = true;
    m.openFrom(m.main().G1, [&] {
        whenShown(&m.servingTimes(), [&] {
            servingTimesOpen = m.servingTimes().isVisible();
            m.main().IdleTimerTimer();
            detailUnderServingTimes = m.detail().isVisible();
            m.servingTimes().BitBtn3->click();
        });
        m.detail().BtnTime->click();
        detailAfter = m.detail().isVisible();
    });
    QVERIFY(servingTimesOpen);
    QVERIFY(detailUnderServingTimes);
    QVERIFY(!detailAfter);
}

void TestOrderWindows::servingTimes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("endTimeAfter"); // as the database gives it back
    QTest::newRow("assign") << u"assign"_s << 2 << true << u"07.12.2026 0:20:00"_s;
    QTest::newRow("assign by double click") << u"double click"_s << 2 << true << u"07.12.2026 0:20:00"_s;
    QTest::newRow("assign cancelled") << u"assign"_s << 2 << false << u"06.12.2026 21:00:00"_s;
    QTest::newRow("assign on a ready dish") << u"assign"_s << 3 << true << u"06.12.2026 21:00:00"_s;
    QTest::newRow("remove") << u"remove"_s << 2 << true << QString();
    QTest::newRow("remove on a ready dish") << u"remove"_s << 3 << true << QString();
    QTest::newRow("remove not confirmed") << u"remove"_s << 2 << false << u"06.12.2026 21:00:00"_s;
}

void TestOrderWindows::servingTimes()
{
    QFETCH(QString, action);
    QFETCH(int, state);
    QFETCH(bool, answer);
    QFETCH(QString, endTimeAfter);
    addLine(1, 2, u"Уха"_s, u"20, 5, CURRENT_TIMESTAMP, NULL"_s);
    m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM,"
               " START_TIME, END_TIME) VALUES (100, 1, %1, 'Бифштекс', 1, 25, 5, CURRENT_TIMESTAMP,"
               " TIMESTAMP '2026-12-06 21:00:00')"_s.arg(state));
    Monitor m(m_db->name());
    m.machine.clock.time = QDateTime(QDate(2026, 12, 6), QTime(23, 50));
    m.machine.dialogs.answers << answer;

    QDate presetDate;
    QTime presetTime;
    bool pickerShown = false, servingTimesStayed = false;
    QString currentAfter, currentInGrid;
    const bool picks = action != u"remove" && state == 2;
    m.openFrom(m.main().G1, [&] {
        whenShown(&m.servingTimes(), [&] {
            Form_Time& times = m.servingTimes();
            const qint64 key = *m_db->value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Бифштекс'"_s).toInt64();
            m.detail().Q->locate(u"KOD"_s, key);
            QPointer<QTimer> picking = whenShown(&m.picker(), [&] {
                Form_DateTime& picker = m.picker();
                pickerShown = true;
                presetDate = picker.DateTimePicker1->date();
                presetTime = picker.DateTimePicker2->time();
                // Only the time of day is changed: the preset date stays.
                picker.DateTimePicker2->setTime(QTime(0, 20));
                if (answer)
                    picker.BitBtn1->click();
                else
                    QTest::keyClick(&picker, Qt::Key_Escape);
            });
            if (action == u"remove")
                times.BitBtn2->click();
            else if (action == u"assign")
                times.BitBtn1->click();
            else
                emit times.GridStrZakaz->doubleClicked(times.GridStrZakaz->currentIndex());
            delete picking; // the picker was not shown
            servingTimesStayed = times.isVisible();
            currentAfter = m.current();
            currentInGrid = times.GridStrZakaz->currentIndex().siblingAtColumn(0).data().toString();
            times.BitBtn3->click();
        });
        m.detail().BtnTime->click();
    });
    QCOMPARE(pickerShown, picks);
    if (picks) {
        QCOMPARE(presetDate, QDate(2026, 12, 7));
        QCOMPARE(presetTime.toString(u"HH:mm"_s), u"00:15"_s);
    }
    QVERIFY(servingTimesStayed);
    QCOMPARE(m.machine.dialogs.questions.size(), action == u"remove" ? 1 : 0);
    QCOMPARE(m_db->value(u"SELECT END_TIME FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Бифштекс'"_s).toText().value_or(QString()),
             endTimeAfter);
    // The same dish stays current in both grids.
    QCOMPARE(currentAfter, u"Бифштекс"_s);
    QCOMPARE(currentInGrid, u"Бифштекс"_s);
}

void TestOrderWindows::emptyGridSendsNothing()
{
    addLine(1, 2, u"Уха"_s);
    Monitor m(m_db->name());
    bool stayed = false;
    int sent = -1;
    m.openFrom(m.main().G1, [&] {
        // Every line went elsewhere meanwhile: the re-read order is empty.
        m_db->exec(u"UPDATE ZAKAZ_STR SET SECTION = 4"_s);
        m.detail().reread();
        QCOMPARE(m.detail().Q->recordCount(), 0);
        const int before = m.base().MyDB.requestCount();
        m.detail().BtnStr->click();
        m.detail().BtnAll->click();
        whenShown(&m.servingTimes(), [&] {
            m.servingTimes().BitBtn1->click();
            m.servingTimes().BitBtn2->click();
            m.servingTimes().BitBtn3->click();
        });
        m.detail().BtnTime->click();
        sent = m.base().MyDB.requestCount() - before;
        stayed = m.detail().isVisible();
    });
    QCOMPARE(sent, 0);
    QVERIFY(stayed);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
    QVERIFY(m.machine.dialogs.questions.isEmpty());
}

void TestOrderWindows::pickerKeepsWithinAYear_data()
{
    QTest::addColumn<QString>("year"); // typed over the preset one, then Enter
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a year on") << u"2027"_s << true;
    QTest::newRow("9999") << u"9999"_s << false;
    QTest::newRow("0001, which the picker cannot take") << u"0001"_s << false;
}

void TestOrderWindows::pickerKeepsWithinAYear()
{
    QFETCH(QString, year);
    QFETCH(bool, accepted);
    FakeMachine machine;
    AppState state;
    Form_DateTime picker(state, machine.dialogs, machine.display, nullptr);
    picker.setMoment(QDateTime(QDate(2026, 12, 6), QTime(23, 50)));
    picker.show();
    picker.DateTimePicker1->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(picker.DateTimePicker1, year);
    QTest::keyClick(picker.DateTimePicker1, Qt::Key_Return);
    QCOMPARE(picker.result() == QDialog::Accepted, accepted);
    QCOMPARE(machine.dialogs.messages.size(), accepted ? 0 : 1);
}

void TestOrderWindows::pickerArrowsGrowWithTheWindow()
{
    FakeMachine machine;
    machine.display.screen = QSize(1920, 1080);
    AppState state;
    state.AtDesignSize = true;
    Form_DateTime picker(state, machine.dialogs, machine.display, nullptr);
    picker.show();
    // The date opens a calendar from its drop-down arrow, the time steps by its two arrows.
    QStyleOptionComboBox date;
    date.initFrom(picker.DateTimePicker1);
    date.subControls = QStyle::SC_All;
    const QRect drop = picker.DateTimePicker1->style()->subControlRect(QStyle::CC_ComboBox, &date, QStyle::SC_ComboBoxArrow,
                                                                      picker.DateTimePicker1);
    QStyleOptionSpinBox time;
    time.initFrom(picker.DateTimePicker2);
    time.subControls = QStyle::SC_All;
    const QRect up = picker.DateTimePicker2->style()->subControlRect(QStyle::CC_SpinBox, &time, QStyle::SC_SpinBoxUp,
                                                                    picker.DateTimePicker2);
    QVERIFY2(drop.width() >= picker.DateTimePicker1->height() - 2, qPrintable(QString::number(drop.width())));
    QVERIFY2(up.width() >= picker.DateTimePicker2->height() - 2, qPrintable(QString::number(up.width())));
}

QTEST_MAIN(TestOrderWindows)
#include "TestOrderWindows.moc"
