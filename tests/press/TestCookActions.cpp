// The cook's presses on an order against a real database, with the program's own windows: a
// dish or the whole order marked ready or back, the strip's undo, the recall list's take-back,
// what fails, and a journal that cannot be had.

#include "CookSteps.h"

class TestCookActions : public OrderTest {
    Q_OBJECT
private slots:
    void initTestCase() { Form_Base::shortenLimits(3, 1); } // a held line is waited out in 1 s
    void init();
    void cookActions_data();
    void cookActions();
    void recallList_data();
    void recallList();
    void brokenJournalLeavesTheBoardAlone_data();
    void brokenJournalLeavesTheBoardAlone();

};

void TestCookActions::init()
{
    startOrder();
}

void TestCookActions::cookActions_data()
{
    CookSteps::columns();
    const QString ready = u"open later order close "_s, back7 = u"Вернуть заказ № 7 в работу?\n\nГолубцы\nПельмени\nЧай чёрный"_s;
    const QString ready7 = u"Заказ № 7 готов"_s, hot = u"Петров Сергей, № 7, Стол 4 | "_s, panel = u"Петров Сергей, № 7, Стол 4 | "_s;
    const QString retry = u"строку сейчас меняет другая программа. Повторите через несколько секунд. …"_s;
    QTest::newRow("dish back, asked first") << u"open later dish later read:dish dish current:Пельмени"_s << u"Вернуть в работу"_s << u"222332"_s;
    QTest::newRow("dish changed meanwhile") << u"open later dish later pos:1:Пельмени dish read:asked"_s << u"Вернуть в работу: Пельмени?"_s << u"212332"_s;
    // Marked ready elsewhere a moment ago, the order's button takes back only after a question.
    QTest::newRow("order ready elsewhere meanwhile") << u"pos:3:% open later no order read:asked"_s << back7 + u"\nХлеб"_s << u"333333"_s;
    QTest::newRow("order back, found through Все") << u"pos:3:% Все open later order read:asked"_s << back7 + u"\nХлеб"_s << u"222233"_s;
    QTest::newRow("order back, a line changed meanwhile") << u"pos:3:% Все open later pos:1:Чай% order"_s << QString() << u"221233"_s;
    // Back go the dishes of the press that made the order ready, not the bread served before.
    QTest::newRow("order back after its press") << ready + u"later Все open later order read:asked time-up"_s << back7 << u"222332"_s;
    // Taken back in the order's window while the strip still offers the press: the strip goes, and
    // its "Отменить" no longer reaches a dish the point of sale has made ready since.
    QTest::newRow("order back in its window ends the strip") << ready + u"later Все open later order close read:strip pos:3:Голубцы later Отменить"_s << QString() << u"322332"_s;
    // Lines not yet shown are not marked ready, nor brought back as shown.
    QTest::newRow("a line new since the window opened") << u"open pos:1:Чай% later order close time-up"_s << QString() << u"331332"_s;
    QTest::newRow("strip, a line not yet sent") << u"pos:0:Чай% "_s + ready + u"later Отменить"_s << QString() << u"220332"_s;
    QTest::newRow("order back by the strip") << ready + u"read:strip later Отменить"_s << ready7 << u"222332"_s;
    QTest::newRow("strip, a line changed meanwhile") << ready + u"read:strip pos:1:Чай% later Отменить"_s << ready7 << u"221332"_s;
    QTest::newRow("strip outlives the idle return, then ends") << ready + u"idle read:strip time-up"_s << ready7 << u"333332"_s;
    QTest::newRow("a newer ready order replaces the strip") << ready + u"later "_s + ready + u"read:strip later Отменить"_s << u"Заказ № 8 готов"_s << u"333332"_s;
    // A failed action: one box in the cooks' words, the server's text beneath.
    QTest::newRow("dish held by the point of sale") << u"open later held:Пельмени dish read:box"_s << u"Блюдо не отмечено: "_s + retry << u"222332"_s;
    QTest::newRow("connection lost under the window") << u"open later cut dish read:box close"_s << u"Нет связи с базой данных: блюдо не отмечено. …"_s << u"222332"_s;
    QTest::newRow("opening while the polling knows it lost") << u"poll cut poll touch:panel:Пельмени read:box"_s << u"Нет связи с базой данных: заказ не открыт. …"_s << u"222332"_s;
}

void TestCookActions::cookActions()
{
    QFETCH(QString, steps);
    QFETCH(QString, seen);
    QFETCH(QString, states);
    CookSteps::run(*m_db, *m_rows, steps, seen, states);
}

void TestCookActions::recallList_data()
{
    // "dish" marks Пельмени ready in its order's window, "order" the whole order; "pos:S:D" is the
    // point of sale setting the dishes D (a LIKE pattern) to state S; "recall:N" opens "Готовые",
    // reads its rows, touches the row N and takes it back. The states are those of Голубцы,
    // Пельмени, Чай чёрный, Хлеб, Стейк and Рис с овощами.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("listed");  // the rows seen in "Готовые" before the take-back
    QTest::addColumn<QString>("presses"); // the presses the journal recorded
    QTest::addColumn<QString>("states");
    QTest::newRow("the order's press") << u"order recall:0"_s << u"12:00 7 Петров Сергей Голубцы, Пельмени, Чай чёрный"_s
                                       << u"order-ready recall"_s << u"222332"_s;
    QTest::newRow("the older of two presses") << u"dish order recall:1"_s
                                              << u"12:01 7 Петров Сергей Голубцы, Чай чёрный|12:00 7 Петров Сергей Пельмени"_s
                                              << u"dish-ready order-ready recall"_s << u"323332"_s;
    QTest::newRow("a line changed meanwhile") << u"order pos:1:Чай% recall:0"_s
                                              << u"12:00 7 Петров Сергей Голубцы, Пельмени, Чай чёрный"_s
                                              << u"order-ready recall"_s << u"221332"_s;
    QTest::newRow("a line not yet shown stays") << u"pos:1:Чай% order recall:0"_s
                                                << u"12:00 7 Петров Сергей Голубцы, Пельмени"_s
                                                << u"order-ready recall"_s << u"221332"_s;
    QTest::newRow("taken back by the strip") << u"order Отменить recall:0"_s << QString() << u"order-ready undo"_s
                                             << u"222332"_s;
}

void TestCookActions::recallList()
{
    QFETCH(QString, steps);
    QFETCH(QString, listed);
    QFETCH(QString, presses);
    QFETCH(QString, states);
    m_db->exec(u"INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (101, 8, 1, 10)"_s);
    addLine(1, 2, u"Голубцы"_s);
    addLine(1, 2, u"Пельмени"_s);
    addLine(1, 2, u"Чай чёрный"_s);
    addLine(1, 2, u"Рис с овощами"_s, u"20, 5, DATEADD(-60 MINUTE TO CURRENT_TIMESTAMP), NULL"_s, 101);
    addLine(1, 3, u"Хлеб"_s);
    addLine(2, 3, u"Стейк"_s);
    Monitor m(m_db->name());
    Form_Main& main = m.main();
    Form_Detail& detail = m.detail();
    Form_Ready& ready = *m.forms().Ready;
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    QString seen;
    for (const QString& step : steps.split(u' ')) {
        const QString what = step.section(u':', 0, 0), arg = step.section(u':', 1);
        // A cook's pace: the touch guard lets each touch through.
        m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::GuardMilliseconds);
        if (what == u"dish" || what == u"order") {
            m.openFrom(main.G1, [&] {
                m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::GuardMilliseconds);
                if (what == u"dish")
                    QTest::mouseClick(detail.G->viewport(), Qt::LeftButton, {}, Monitor::rowOf(detail.G, u"Пельмени"_s));
                QTest::mouseClick(what == u"dish" ? detail.BtnStr : detail.BtnAll, Qt::LeftButton);
            }, Monitor::rowOf(main.G1, u"Голубцы"_s));
            m.machine.clock.time = m.machine.clock.time.addSecs(60);
        } else if (what == u"pos")
            m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE NAME_BLUDO LIKE '%2'"_s.arg(arg.left(1), arg.mid(2)));
        else if (what == u"Отменить")
            QTest::mouseClick(main.StripReady->BtnUndo, Qt::LeftButton);
        else if (what == u"recall") {
            QPointer<QTimer> waiting = whenShown(&ready, [&] {
                QStringList rows;
                for (int row = 0; row < ready.G->rowCount(); ++row) {
                    QStringList cells;
                    for (int column = 0; column < ready.G->columnCount(); ++column)
                        cells << ready.G->item(row, column)->text();
                    rows << cells.join(u' ');
                }
                seen = rows.join(u'|');
                QVERIFY(!ready.BtnBack->isEnabled()); // nothing is chosen for the cook
                m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::GuardMilliseconds);
                if (arg.toInt() < ready.G->rowCount()) {
                    const QRect cell = ready.G->visualItemRect(ready.G->item(arg.toInt(), 3));
                    QTest::mouseClick(ready.G->viewport(), Qt::LeftButton, {}, cell.center());
                    QTest::mouseClick(ready.BtnBack, Qt::LeftButton);
                    QCOMPARE(ready.G->rowCount(), int(seen.count(u'|')) + (seen.isEmpty() ? 0 : 1) - 1);
                }
                ready.BtnExit->click();
            });
            QTest::mouseClick(main.BtnReady, Qt::LeftButton);
            delete waiting;
        }
    }
    QCOMPARE(seen, listed);
    QString found;
    for (const QString& dish : {u"Голубцы"_s, u"Пельмени"_s, u"Чай чёрный"_s, u"Хлеб"_s, u"Стейк"_s, u"Рис с овощами"_s})
        found += QString::number(stateOf(dish));
    QCOMPARE(found, states);
    QStringList kinds;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(m.windows->journal().handle(), "SELECT kind FROM press ORDER BY id", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        kinds << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    QCOMPARE(kinds.join(u' '), presses);
    // The board was read again after the take-back.
    QCOMPARE(main.board().orderCount(), found.left(3).contains(u'2') ? 2 : 1);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
}

void TestCookActions::brokenJournalLeavesTheBoardAlone_data()
{
    QTest::addColumn<QString>("journal");
    QTest::addColumn<int>("announced"); // lines the journal recorded as announced
    QTest::newRow("sound") << QString() << 1;
    QTest::newRow("not a database") << u"garbage"_s << 1; // moved aside, begun anew
    QTest::newRow("cannot be created") << u"folder"_s << -1;
}

void TestCookActions::brokenJournalLeavesTheBoardAlone()
{
    QFETCH(QString, journal);
    QFETCH(int, announced);
    addLine(1, 1, u"Голубцы"_s);
    addLine(1, 2, u"Пельмени"_s);
    Monitor m(m_db->name(), {1});
    // The journal is opened when the windows are made: spoil it and make them again.
    m.windows.reset();
    const QString path = QDir(m.dir.path()).filePath(Journal::FileName);
    QFile::remove(path);
    if (journal == u"garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (journal == u"folder")
        QVERIFY(QDir(m.dir.path()).mkdir(Journal::FileName));
    m.windows = std::make_unique<ProgramWindows>(m.state, m.machine.platform());
    m.main().IdleTimer.stop();
    m.main().sectionBoxes()[0]->setChecked(true);
    m.poll();
    QCOMPARE(stateOf(u"Голубцы"_s), 2);
    m.refresh();
    m.machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    m.openFrom(m.main().G1, [&] {
        m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::GuardMilliseconds);
        QTest::mouseClick(m.detail().BtnAll, Qt::LeftButton);
    });
    QCOMPARE(stateOf(u"Голубцы"_s), 3);
    QCOMPARE(stateOf(u"Пельмени"_s), 3);
    QVERIFY(m.machine.dialogs.messages.isEmpty());
    int count = -1;
    if (sqlite3* db = m.windows->journal().handle()) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM announced", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            count = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    QCOMPARE(count, announced);
    QCOMPARE(RecallList::entries(m.windows->journal(), m.machine.clock.now()).size(), announced > 0 ? 1 : 0);
}

QTEST_MAIN(TestCookActions)
#include "TestCookActions.moc"
