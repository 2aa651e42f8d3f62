// "Итого" and the age of every order on the real board and a real database: repeated dishes in
// and out of the served sections, in every state, on two pages, by touch and by key, at a small
// and a large screen (the totals read back by statements of the test's own); the view following
// the polls; the orders' ages at the minute turns, at every text size, for an order whose dishes
// reached the kitchen at different times.

#include "FileBytes.h"
#include "Form_AllDay.h"
#include "OrderMonitor.h"
#include "PanelAges.h"
#include "ServerClock.h"

#include <QScopeGuard>

namespace {
const QString Waiter = u"Кузнецов Дмитрий"_s;

// The all-day rows as the window shows them, one "cell|cell|..." a row.
QStringList shownRows(const Form_AllDay& view)
{
    QStringList rows;
    for (int r = 0; r < view.G->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < view.G->columnCount(); ++c)
            cells << view.G->item(r, c)->text();
        rows << cells.join(u'|');
    }
    return rows;
}

int rowOf(const Form_AllDay& view, const QString& first)
{
    for (int r = 0; r < view.G->rowCount(); ++r)
        if (view.G->item(r, 0)->text() == first)
            return r;
    return -1;
}

// One monitor, full screen at the given size and text size, serving the given sections.
struct Rig : MonitorRig {
    Rig(TestDatabase& db, QSize screen, const QByteArray& sections, const QByteArray& textSize = "0")
        : MonitorRig(db.name(), [this, screen, sections, textSize](const QString& folder) {
              machine.display.screen = screen;
              putFile(folder + u"/Screen.txt"_s, "Full\r\n");
              putFile(folder + u"/Section.txt"_s, sections);
              putFile(folder + u"/TextSize.txt"_s, textSize + "\r\n");
          })
    {
        main().IdleTimer.stop();
        machine.clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    }
    void poll() { polling().onTimer(); }
    void refresh()
    {
        main().RefreshOrderList();
        main().FillPage();
    }
    Form_AllDay& allDay() const { return *forms().AllDay; }
    Form_Detail& detail() const { return *forms().Detail; }
    // A touch after the half second in which a new window takes none.
    void touch(QWidget* where, QPoint at)
    {
        machine.clock.time = machine.clock.time.addMSecs(InputGate::GuardMilliseconds + 100);
        QTest::mouseClick(where, Qt::LeftButton, {}, at);
    }
    void touchRow(int row)
    {
        touch(allDay().G->viewport(), allDay().G->visualRect(allDay().G->model()->index(row, 0)).center());
    }
    void key(int key) { QTest::keyClick(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &main(), Qt::Key(key)); }
};
}

class TestAllDay : public QObject {
    Q_OBJECT
private slots:
    void init();
    void allDay_data();
    void allDay();
    void followsThePolls();
    void ages_data();
    void ages();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
    void line(qint64 order, int section, int state, const QString& dish, int age, double quantity = 1,
              const QString& timing = u"20, 5"_s)
    {
        m_db->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM,"
                   " START_TIME) VALUES (%1, %2, %3, :D, %4, %5, DATEADD(%6 MINUTE TO CURRENT_TIMESTAMP))"_s
                       .arg(order).arg(section).arg(state).arg(quantity).arg(timing).arg(-age),
                   {{u"D"_s, DbValue::text(dish)}});
    }
};

void TestAllDay::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, Waiter);
    // Eight orders, two pages, each with its soup; Плов in most of them, in every state and
    // section; a closed shift's and a service order's Плов, never the kitchen's work.
    for (int n = 1; n <= 8; ++n) {
        m_rows->addOrder(100 + n, n, u"Стол %1"_s.arg(n));
        line(100 + n, 1, 2, u"Суп %1"_s.arg(n), 10);
    }
    line(101, 1, 2, u"Плов"_s, 30);
    line(101, 1, 2, u"Плов"_s, 5, 2);
    line(102, 2, 2, u"Плов"_s, 12);
    line(103, 1, 3, u"Плов"_s, 50);
    line(104, 1, 1, u"Плов"_s, 1);
    line(105, 4, 2, u"Плов"_s, 60);
    line(108, 1, 2, u"Плов"_s, 20, 1.5);
    line(107, 800, 2, u"Чай"_s, 2, 3, u"0, 0"_s);
    m_rows->addOrder(109, 9, u"Стол 9"_s, OrderRows::ClosedShift);
    line(109, 1, 2, u"Плов"_s, 40);
    m_rows->addOrder(110, 0, u"Персонал"_s);
    line(110, 1, 2, u"Плов"_s, 45);
}

void TestAllDay::allDay_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QByteArray>("sections");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QString>("orders"); // Плов's orders: number, table, quantity
    QTest::newRow("1024x768, section 1, touch") << QSize(1024, 768) << QByteArray("1\r\n") << false
                                                << u"1|Стол 1|3,4|Стол 4|1,8|Стол 8|1.5"_s;
    QTest::newRow("1920x1080, sections 1 2, keys") << QSize(1920, 1080) << QByteArray("1\r\n2\r\n") << true
                                                   << u"1|Стол 1|3,2|Стол 2|1,4|Стол 4|1,8|Стол 8|1.5"_s;
    QTest::newRow("1024x768, sections 1 2, keys") << QSize(1024, 768) << QByteArray("1\r\n2\r\n") << true
                                                  << u"1|Стол 1|3,2|Стол 2|1,4|Стол 4|1,8|Стол 8|1.5"_s;
    QTest::newRow("1920x1080, section 1, touch") << QSize(1920, 1080) << QByteArray("1\r\n") << false
                                                 << u"1|Стол 1|3,4|Стол 4|1,8|Стол 8|1.5"_s;
}

void TestAllDay::allDay()
{
    QFETCH(QSize, screen);
    QFETCH(QByteArray, sections);
    QFETCH(bool, byKey);
    QFETCH(QString, orders);
    Rig m(*m_db, screen, sections);
    m.main().show();
    m.poll(); // the new Плов of order 4 is announced and shown, and the dishes in work are read
    const QString served = u"800, 900, "_s + QString::fromLatin1(sections).trimmed().replace(u"\r\n"_s, u", "_s);
    const QString inWork = u" FROM ZAKAZ_STR S JOIN ZAKAZ Z ON Z.KOD = S.KOD_ZAKAZ JOIN SMENA ON SMENA.KOD = Z.KOD_SMENA"
                           " WHERE SMENA.STATUS < 10 AND Z.NUMBER_ZAKAZ > 0 AND S.PRINT_SECTION = 2 AND S.SECTION IN (%1)"_s.arg(served);

    QStringList dishes, mismatched, pilafOrders, opened;
    QString caption, closedBy;
    whenShown(&m.allDay(), [&] {
        auto closeAtEnd = qScopeGuard([&] {
            if (m.allDay().isVisible())
                m.allDay().reject();
        });
        // Every dish against the test's own sums over the same lines.
        for (const QString& row : shownRows(m.allDay())) {
            const QStringList cells = row.split(u'|');
            dishes << cells[0];
            const QString dish = u" AND S.NAME_BLUDO = '%1'"_s.arg(cells[0]);
            if (cells[1].toDouble() != m_db->value(u"SELECT SUM(S.KOLVO)"_s + inWork + dish).toDouble()
                || cells[2].toLongLong() != m_db->value(u"SELECT COUNT(DISTINCT S.KOD_ZAKAZ)"_s + inWork + dish).toInt64())
                mismatched << row;
        }
        // Nothing cut: every figure is read whole, the minutes of a dish late by three figures too.
        const Form_AllDay& view = m.allDay();
        int across = 0;
        for (int c = 0; c < view.G->columnCount(); ++c) {
            across += view.G->columnWidth(c);
            QFont bold = view.G->font();
            bold.setBold(true);
            const QString widest = c == 3 ? u"!999"_s : view.G->horizontalHeaderItem(c)->text();
            if (QFontMetrics(bold).horizontalAdvance(widest) + 8 > view.G->columnWidth(c))
                mismatched << u"column %1 of %2 px"_s.arg(c).arg(view.G->columnWidth(c));
        }
        if (across > view.G->viewport()->width())
            mismatched << u"columns of %1 px in %2"_s.arg(across).arg(view.G->viewport()->width());
        const int pilaf = rowOf(m.allDay(), u"Плов"_s);
        if (pilaf < 0)
            return;
        if (byKey) {
            for (int r = 0; r <= pilaf; ++r)
                m.key(Qt::Key_Down);
            m.key(Qt::Key_Period);
        } else {
            m.touchRow(pilaf);
        }
        for (const QString& row : shownRows(m.allDay()))
            pilafOrders << row.section(u'|', 0, 2);
        // Order 8 is on the board's second page: it opens all the same, Плов current.
        const int eighth = rowOf(m.allDay(), u"8"_s);
        QPointer<QTimer> waiting = whenShown(&m.detail(), [&] {
            caption = m.detail().windowTitle();
            opened << *m.detail().Q->asString(u"NAME_BLUDO"_s);
            for (int r = 0; r < m.detail().Q->recordCount(); ++r)
                opened << *m.detail().Q->row(r)[size_t(m.detail().Q->fieldIndex(u"NAME_BLUDO"_s))].toText();
            m.detail().BtnExit->click();
        });
        if (byKey) {
            for (int r = 0; r <= eighth; ++r)
                m.key(Qt::Key_Down);
            m.key(Qt::Key_Delete);
        } else {
            m.touchRow(eighth);
        }
        delete waiting;
        // The same key closes it, or Esc.
        m.key(byKey ? Qt::Key_9 : Qt::Key_Escape);
        closedBy = m.allDay().isVisible() ? u"still open"_s : u"closed"_s;
    });
    if (byKey)
        m.key(Qt::Key_9);
    else
        m.touch(m.main().BtnAllDay, m.main().BtnAllDay->rect().center());

    QVERIFY2(mismatched.isEmpty(), qPrintable(mismatched.join(u", "_s)));
    QCOMPARE(qint64(dishes.size()), m_db->value(u"SELECT COUNT(DISTINCT S.NAME_BLUDO)"_s + inWork).toInt64().value_or(-1));
    // The most urgent first: the late Плов before the soups, the drink without a due moment last.
    QCOMPARE(dishes.first(), u"Плов"_s);
    QCOMPARE(dishes.last(), u"Чай"_s);
    QStringList sorted = pilafOrders;
    sorted.sort();
    QCOMPARE(sorted.join(u','), orders);
    QCOMPARE(caption, Waiter + u", № 8, Стол 8"_s);
    QCOMPARE(opened, QStringList({u"Плов"_s, u"Плов"_s, u"Суп 8"_s})); // the dish current, then the order's lines
    QCOMPARE(closedBy, u"closed"_s);
}

void TestAllDay::followsThePolls()
{
    Rig m(*m_db, QSize(1024, 768), "1\r\n");
    m.main().show();
    m.poll();
    QStringList before, afterTill, afterNothing, aMinuteOn;
    QString releasedOn = u"-"_s, atRest;
    int skipped = -1;
    whenShown(&m.allDay(), [&] {
        auto closeAtEnd = qScopeGuard([&] { m.allDay().reject(); });
        before = shownRows(m.allDay());
        // Another kitchen marks soup 1 ready; the till adds a Плов to order 6.
        m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE NAME_BLUDO = 'Суп 1'"_s);
        line(106, 1, 1, u"Плов"_s, 0);
        m.poll();
        afterTill = shownRows(m.allDay());
        // Nothing changed since the poll that saw its own marks: the poll ends at its probe, and
        // the view stays as it is.
        m.poll();
        const int skippedBefore = m.polling().skippedRuns();
        m.poll();
        skipped = m.polling().skippedRuns() - skippedBefore;
        afterNothing = shownRows(m.allDay());
        // A minute on, without a poll: the minutes turn, nothing else.
        m.machine.clock.time = m.machine.clock.time.addSecs(60);
        m.allDay().fill();
        aMinuteOn = shownRows(m.allDay());
        // A finger rests on Плов while a poll takes it away: the release lists nobody's orders.
        m.machine.clock.time = m.machine.clock.time.addMSecs(InputGate::GuardMilliseconds + 100);
        const QPoint first = m.allDay().G->visualRect(m.allDay().G->model()->index(0, 0)).center();
        QTest::mousePress(m.allDay().G->viewport(), Qt::LeftButton, {}, first);
        m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE NAME_BLUDO = 'Плов'"_s);
        m.poll();
        QTest::mouseRelease(m.allDay().G->viewport(), Qt::LeftButton, {}, first);
        releasedOn = m.allDay().dish();
        // Hands off: the board returns to rest, and so does the window.
        m.machine.idle.lastInput = 0;
        m.machine.idle.now = 60000;
        m.main().IdleTimerTimer();
        atRest = m.allDay().isVisible() ? u"still open"_s : u"closed"_s;
    });
    m.main().BtnAllDayClick();
    QCOMPARE(releasedOn, QString());
    QCOMPARE(atRest, u"closed"_s);

    QVERIFY(before.filter(QRegularExpression(u"^Суп 1\\|"_s)).size() == 1);
    QVERIFY(afterTill.filter(QRegularExpression(u"^Суп 1\\|"_s)).isEmpty());
    QCOMPARE(afterTill.filter(u"Плов|"_s).value(0).section(u'|', 1, 2), u"6.5|4"_s); // 3 + 1 + 1.5 and the new one, in four orders
    QCOMPARE(skipped, 1);
    QCOMPARE(afterNothing, afterTill);
    QCOMPARE(aMinuteOn.size(), afterTill.size());
    for (int r = 0; r < aMinuteOn.size(); ++r) {
        const QString was = afterTill[r].section(u'|', 3).remove(u'!');
        QCOMPARE(aMinuteOn[r].section(u'|', 0, 2), afterTill[r].section(u'|', 0, 2));
        QCOMPARE(aMinuteOn[r].section(u'|', 3).remove(u'!').toInt(), was.toInt() + 1);
    }

    // Each poll's first request brings the server's time: a local clock set an hour on is
    // set right by the next poll, whether or not anything changed.
    m.machine.clock.time = m.machine.clock.time.addSecs(3600);
    m.poll();
    const QDateTime server = DbTime::toDateTime(*m_db->value(u"SELECT CURRENT_TIMESTAMP FROM RDB$DATABASE"_s).toDouble());
    QVERIFY2(qAbs(m.forms().Clock->now().secsTo(server)) < 60, qPrintable(m.forms().Clock->now().toString()));
}

void TestAllDay::ages_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QByteArray>("textSize");
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)})
        for (const char* text : {"0", "1", "2"})
            QTest::addRow("%dx%d, text size %s", screen.width(), screen.height(), text) << screen << QByteArray(text);
}

void TestAllDay::ages()
{
    QFETCH(QSize, screen);
    QFETCH(QByteArray, textSize);
    // A fresh kitchen: a late order of the usual caption's length whose dishes came at
    // different times, an order within its alarm time, and a new one.
    m_db->exec(u"DELETE FROM ZAKAZ_STR"_s);
    m_db->exec(u"UPDATE ZAKAZ SET NUMBER_ZAKAZ = 131, INFO_ZAKAZ = 'Стол 12' WHERE KOD = 101"_s);
    line(101, 1, 2, u"Суп"_s, 30);
    line(101, 1, 2, u"Каша"_s, 5);
    line(101, 1, 3, u"Морс"_s, 12);
    line(102, 1, 2, u"Борщ"_s, 17); // 3 minutes left, within the alarm's 5
    line(103, 1, 2, u"Чай"_s, 3);
    Rig m(*m_db, screen, "1\r\n", textSize);
    m.main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m.main()));
    m.refresh();
    PanelAges& ages = *m.forms().Ages;
    ServerClock& clock = *m.forms().Clock;
    ages.update();
    const auto shown = [&](int panel) {
        const QLabel* label = ages.label(panel);
        return u"%1 %2%3"_s.arg(label->text(), label->palette().color(QPalette::WindowText).name(),
                                label->font().bold() ? u" bold"_s : QString());
    };
    QCOMPARE(shown(0), u"!30 мин "_s + TimingColours::Red.name() + u" bold"_s);
    QCOMPARE(shown(1), u"17 мин "_s + TimingColours::Maroon.name() + u" bold"_s);
    QCOMPARE(shown(2), u"3 мин "_s + TimingColours::Green.name());
    QVERIFY(ages.label(3)->isHidden());
    // The caption stays the order's own, and its age sits beside it, neither cut.
    for (int panel = 0; panel < 3; ++panel) {
        QGroupBox* box = m.main().panels()[size_t(panel)];
        const QLabel* label = ages.label(panel);
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect caption = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        QVERIFY2(caption.right() < label->geometry().left() && label->geometry().right() < box->width()
                     && QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->contentsRect().width()
                     && QFontMetrics(label->font()).height() <= label->height(),
                 qPrintable(u"%1: caption to %2, age %3 at %4..%5 in %6"_s.arg(box->title()).arg(caption.right())
                                .arg(label->text()).arg(label->geometry().left()).arg(label->geometry().right()).arg(box->width())));
        QCOMPARE(label->font().pixelSize(), box->font().pixelSize());
    }
    QCOMPARE(m.main().GroupBox1->title(), Waiter + u", № 131, Стол 12"_s);

    // The minute turns of the youngest order, from the server's time at the reading.
    const QDateTime start = DbTime::toDateTime(*m_db->value(u"SELECT START_TIME FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Чай'"_s).toDouble());
    const QDateTime local = m.machine.clock.time;
    const qint64 toTurn = clock.now().msecsTo(start.addSecs(4 * 60));
    m.machine.clock.time = local.addMSecs(toTurn - 1);
    ages.update();
    QCOMPARE(ages.label(2)->text(), u"3 мин"_s);
    m.machine.clock.time = local.addMSecs(toTurn);
    ages.update();
    QCOMPARE(ages.label(2)->text(), u"4 мин"_s);
    // The ages turn by themselves between the polls, woken at the turn, not every second.
    if (textSize == "0") {
        m.machine.clock.time = local.addMSecs(toTurn + 60000 - 200);
        ages.update();
        QCOMPARE(ages.label(2)->text(), u"4 мин"_s);
        m.machine.clock.time = local.addMSecs(toTurn + 60000);
        QTRY_COMPARE(ages.label(2)->text(), u"5 мин"_s);
    }
}

QTEST_MAIN(TestAllDay)
#include "TestAllDay.moc"
