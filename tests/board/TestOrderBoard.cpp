// The order pages against a real database: which orders are listed, paging, the section
// filter and its file, the mode, captions, the panels' order, and the server time the colours
// need, carried on the local clock: no paint asks the server.

#include "AppState.h"
#include "Settings.h"
#include "Clock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "FileBytes.h"
#include "Form_Base.h"
#include "Form_Main.h"
#include "Form_Util.h"
#include "Forms.h"
#include "OrderBoard.h"
#include "OrderRows.h"
#include "Query.h"
#include "QueryModel.h"
#include "ServerClock.h"
#include "ServerTime.h"
#include "TestDatabase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 openShift = OrderRows::OpenShift, closedShift = OrderRows::ClosedShift;

// The board with its data module, connected to the test database, every window ready.
struct Board {
    explicit Board(TestDatabase& db, ServedSections served = {})
    {
        state.settingsFolder = dir.path();
        settings.load();
        base = std::make_unique<Form_Base>(settings, util, dialogs, player);
        main = std::make_unique<Form_Main>(state, settings, dialogs, display, forms);
        forms.Main = main.get();
        forms.Base = base.get();
        main->attachDatabase(*base);
        // As the program has it: the colours take the server's time from the polls' readings.
        main->serverTime().carry(serverClock);
        base->MyDB.DatabaseName = db.name();
        base->MyDB.open();
        for (int i = 0; i < 5; ++i)
            main->sectionBoxes()[size_t(i)]->setChecked(served[size_t(i)]);
        state.FormsReady = true;
    }
    OrderBoard& board() { return main->board(); }
    void refresh()
    {
        board().RefreshOrderList();
        board().FillPage();
    }
    // Order numbers in the order list.
    QList<int> listed()
    {
        QList<int> numbers;
        for (int i = 0; i < board().orderList()->recordCount(); ++i)
            numbers << int(*board().orderList()->row(i)[3].toInt64());
        return numbers;
    }
    QStringList captions()
    {
        QStringList titles;
        for (QGroupBox* box : main->panels())
            titles << box->title();
        return titles;
    }
    QStringList dishes(int panel)
    {
        QStringList names;
        QueryModel* model = board().panelModel(panel);
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->data(model->index(row, 0), Qt::DisplayRole).toString();
        return names;
    }

    QTemporaryDir dir;
    AppState state;
    Settings settings{dir.path()};
    FakeDialogs dialogs;
    FakeDisplayMode display{QSize(1024, 768)};
    FakeSoundPlayer player;
    SystemClock clock;
    Form_Util util{clock};
    ServerClock serverClock{clock};
    Forms forms;
    std::unique_ptr<Form_Base> base; // outlives the board's panel queries
    std::unique_ptr<Form_Main> main;
};
}

class TestOrderBoard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void whatIsListed();
    void paging();
    void shrunkListShowsALivePage();
    void sectionFile();
    void panelSortedByDueTime();
    void oneServerTimePerPaint();
    void lostServerTimeReportedOnce();
    void unchangedRowsKeepTheGrid();

private:
    void addOrder(qint64 key, int number, const QVariant& info = u"Стол 1"_s, qint64 shift = openShift)
    {
        m_rows->addOrder(key, number, info, shift);
    }
    void addLine(qint64 order, int section, int state, const QString& dish = u"Борщ"_s,
                 const QString& timing = OrderRows::FreshTiming)
    {
        m_rows->addLine(order, section, state, dish, timing);
    }
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};

void TestOrderBoard::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    m_rows = std::make_unique<OrderRows>(*m_db, u"Иванова Мария"_s);
}

void TestOrderBoard::cleanup()
{
    m_rows.reset();
    m_db.reset();
}

void TestOrderBoard::whatIsListed()
{
    addOrder(100, 1);
    addLine(100, 800, 2);
    addOrder(101, 2);
    addLine(101, 3, 2);
    addOrder(102, 0);                  // not a kitchen order
    addLine(102, 900, 2);
    addOrder(103, 3, {}, closedShift); // a closed shift
    addLine(103, 900, 2);
    addOrder(104, 4);                  // every served line ready
    addLine(104, 1, 3, u"Уха"_s);
    addLine(104, 800, 3, u"Хлеб"_s);
    addLine(104, 2, 2, u"Стейк"_s);    // a section this monitor does not serve
    addOrder(105, 5);                  // only new lines
    addLine(105, 1, 1);

    Board b(*m_db);
    b.refresh();
    QCOMPARE(b.listed(), QList<int>{1});

    b.main->CB_S1->setChecked(true);
    b.main->CB_S3->setChecked(true);
    QCOMPARE(b.listed(), QList<int>({1, 2}));

    b.main->BtnAll->click();
    QVERIFY(b.board().AllOrders);
    QCOMPARE(b.main->BtnAll->text(), u"Неисп."_s);
    QCOMPARE(b.listed(), QList<int>({1, 2, 4}));
    QStringList ready = b.dishes(2);
    ready.sort();
    QCOMPARE(ready, QStringList({u"Уха"_s, u"Хлеб"_s}));
    QVERIFY(b.dialogs.messages.isEmpty());

    b.main->BtnAll->click();
    QCOMPARE(b.main->BtnAll->text(), u"Все"_s);
    QCOMPARE(b.listed(), QList<int>({1, 2}));
}

void TestOrderBoard::paging()
{
    for (int n = 1; n <= 7; ++n) {
        addOrder(200 + n, n, n == 1 ? QVariant() : QVariant(u"Стол %1"_s.arg(n)));
        addLine(200 + n, 800, 2);
    }
    Board b(*m_db);
    b.refresh();
    QStringList page1 = b.captions();
    QCOMPARE(page1[0], u"Иванова Мария, № 1, "_s); // an order without a note
    QCOMPARE(page1[5], u"Иванова Мария, № 6, Стол 6"_s);
    // The paging buttons count the orders beyond the page, each way.
    auto counts = [&] { return QStringList{b.main->BtnPrev->text(), b.main->BtnNext->text()}; };
    QCOMPARE(counts(), QStringList({u""_s, u"+1"_s}));

    b.main->BtnNext->click();
    QCOMPARE(counts(), QStringList({u"+6"_s, u""_s}));
    QCOMPARE(b.state.PageFirst, 7);
    QCOMPARE(b.captions(), QStringList({u"Иванова Мария, № 7, Стол 7"_s, "", "", "", "", ""}));
    QVERIFY(b.main->G1->isVisibleTo(b.main.get()));
    QVERIFY(!b.main->G2->isVisibleTo(b.main.get()));
    QVERIFY(!b.board().panelQuery(1)->isOpen());

    b.main->BtnNext->click(); // no page beyond: the list is read again, the page stays
    QCOMPARE(b.state.PageFirst, 7);

    b.main->BtnPrev->click();
    QCOMPARE(b.state.PageFirst, 1);
    QCOMPARE(b.captions(), page1);
    const int requests = b.base->MyDB.requestCount();
    b.main->BtnPrev->click(); // on the first page nothing is read
    QCOMPARE(b.base->MyDB.requestCount(), requests);
}

void TestOrderBoard::shrunkListShowsALivePage()
{
    for (int n = 1; n <= 13; ++n) {
        addOrder(300 + n, n);
        addLine(300 + n, 800, 2);
    }
    Board b(*m_db);
    b.refresh();
    b.main->BtnNext->click();
    b.main->BtnNext->click();
    QCOMPARE(b.state.PageFirst, 13);

    // Orders 7 to 13 are finished: the last page that still exists is shown, live.
    m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE KOD_ZAKAZ > 306"_s);
    b.refresh();
    QCOMPARE(b.state.PageFirst, 1);
    QCOMPARE(b.captions()[5], u"Иванова Мария, № 6, Стол 1"_s);

    // With nothing listed the board empties.
    m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3"_s);
    b.refresh();
    QCOMPARE(b.captions(), QStringList(6));
    for (QTableView* grid : b.main->panelGrids())
        QVERIFY(!grid->isVisibleTo(b.main.get()));
}

void TestOrderBoard::sectionFile()
{
    Board b(*m_db, {true});
    const QString file = b.dir.filePath(u"Section.txt"_s);
    b.main->CB_S4->setChecked(true);
    QCOMPARE(fileBytes(file), QByteArray("1\r\n4\r\n"));
    b.main->CB_S1->setChecked(false);
    b.main->CB_S4->setChecked(false);
    QCOMPARE(fileBytes(file), QByteArray());
    QVERIFY(b.dialogs.messages.isEmpty());
}

void TestOrderBoard::panelSortedByDueTime()
{
    addOrder(400, 1);
    addLine(400, 800, 2, u"через 30"_s, u"30, 5, CURRENT_TIMESTAMP, NULL"_s);
    addLine(400, 800, 2, u"подать через 10"_s, u"30, 5, CURRENT_TIMESTAMP, DATEADD(10 MINUTE TO CURRENT_TIMESTAMP)"_s);
    addLine(400, 800, 3, u"через 5, готово"_s, u"5, 2, CURRENT_TIMESTAMP, NULL"_s);
    addLine(400, 800, 2, u"без времени"_s, u"NULL, 5, CURRENT_TIMESTAMP, NULL"_s);
    addLine(400, 800, 1, u"новое"_s);
    Board b(*m_db);
    b.refresh();
    QCOMPARE(b.dishes(0), QStringList({u"без времени"_s, u"через 5, готово"_s, u"подать через 10"_s, u"через 30"_s}));
}

void TestOrderBoard::oneServerTimePerPaint()
{
    addOrder(500, 1);
    for (int i = 0; i < 9; ++i)
        addLine(500, 800, 2, u"блюдо %1"_s.arg(i), u"20, 5, CURRENT_TIMESTAMP, DATEADD(%1 MINUTE TO CURRENT_TIMESTAMP)"_s.arg(i * 2 - 4));
    addOrder(501, 2);
    addLine(501, 800, 2, u"подать"_s, u"20, 5, CURRENT_TIMESTAMP, DATEADD(30 MINUTE TO CURRENT_TIMESTAMP)"_s);
    Board b(*m_db);
    b.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.main.get()));
    b.refresh();
    // No poll has read the server's time: the board asked for it once, fitting or painting.
    b.main->G1->viewport()->repaint();
    QVERIFY(b.serverClock.known());
    QTest::qWait(1);
    // From then on the time is carried on the local clock: painting asks the server nothing.
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } count;
    b.main->G1->viewport()->installEventFilter(&count);
    b.main->G2->viewport()->installEventFilter(&count);
    int before = b.base->MyDB.requestCount();
    b.main->G1->viewport()->update();
    b.main->G2->viewport()->update();
    QCoreApplication::processEvents();
    QCOMPARE(count.paints, 2);
    QCOMPARE(b.base->MyDB.requestCount() - before, 0);
    QTest::qWait(1);
    before = b.base->MyDB.requestCount();
    b.main->G2->viewport()->repaint();
    QCOMPARE(b.base->MyDB.requestCount() - before, 0);
    // New rows are fitted to the grid, then painted: the list's page and the panels' lines, and
    // no reading of the time.
    m_db->exec(u"UPDATE ZAKAZ_STR SET KOLVO = KOLVO + 1 WHERE KOD_ZAKAZ = 500"_s);
    QTest::qWait(1);
    count.paints = 0;
    before = b.base->MyDB.requestCount();
    b.refresh();
    QCoreApplication::processEvents();
    QVERIFY(count.paints > 0);
    QCOMPARE(b.base->MyDB.requestCount() - before, 2);

    // Overdue is red, due within the alarm time maroon, due later green.
    QueryModel* model = b.board().panelModel(0);
    auto text = [&](int row) { return model->data(model->index(row, 0), Qt::ForegroundRole).value<QColor>(); };
    QCOMPARE(text(0), TimingColours::Red);
    QCOMPARE(text(4), TimingColours::Maroon);
    QCOMPARE(text(8), TimingColours::Green);
    // The weight tells late and due apart from on schedule too, where the colours are not seen.
    auto font = [&](int row) { return model->data(model->index(row, 0), Qt::FontRole); };
    QVERIFY(font(0).value<QFont>().bold() && !font(0).value<QFont>().strikeOut());
    QVERIFY(font(4).value<QFont>().bold() && !font(4).value<QFont>().strikeOut());
    QVERIFY(!font(8).isValid());

    // At a minute's turn the grid repaints the rows whose minutes turned: here all nine, due at
    // whole minutes apart; half a minute later, none.
    const Query& lines = *b.board().panelQuery(0);
    const double due = *lines.row(0)[size_t(lines.fieldIndex(u"TPS"_s))].toDouble();
    QCOMPARE(model->rowsTurningAt(due + 3.0 / 1440, 1000).size(), 9);
    QVERIFY(model->rowsTurningAt(due + 3.0 / 1440 + 30.0 / 86400, 1000).isEmpty());
}

void TestOrderBoard::lostServerTimeReportedOnce()
{
    addOrder(600, 1);
    addLine(600, 800, 2, u"подать"_s, u"20, 5, CURRENT_TIMESTAMP, DATEADD(-1 MINUTE TO CURRENT_TIMESTAMP)"_s);
    m_db->exec(u"ALTER PROCEDURE MYDATETIME RETURNS (MYTIME TIMESTAMP) AS BEGIN MYTIME = CAST('сломано' AS TIMESTAMP); END"_s);
    Board b(*m_db);
    b.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.main.get()));
    b.refresh();
    for (int i = 0; i < 3; ++i)
        b.main->G1->viewport()->repaint();
    QueryModel* model = b.board().panelModel(0);
    QVERIFY(!model->data(model->index(0, 0), Qt::ForegroundRole).isValid());
    QTRY_COMPARE(b.dialogs.messages.size(), 1);
    QTest::qWait(50);
    QCOMPARE(b.dialogs.messages.size(), 1);
    QVERIFY(b.dialogs.messages[0].contains(u"conversion"_s, Qt::CaseInsensitive));
}

void TestOrderBoard::unchangedRowsKeepTheGrid()
{
    // Dishes without cooking time: their minutes left stay null, so nothing turns with the clock.
    const QString untimed = u"0, 0, CURRENT_TIMESTAMP, NULL"_s;
    addOrder(700, 1);
    addLine(700, 800, 2, u"суп"_s, untimed);
    addLine(700, 800, 2, u"хлеб"_s, untimed);
    addOrder(701, 2);
    addLine(701, 800, 2, u"чай"_s, untimed);
    Board b(*m_db);
    b.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.main.get()));
    b.refresh();
    QSignalSpy resets1(b.board().panelModel(0), &QAbstractItemModel::modelReset);
    QSignalSpy resets2(b.board().panelModel(1), &QAbstractItemModel::modelReset);
    b.main->G1->setCurrentIndex(b.board().panelModel(0)->index(1, 0));

    // The same rows again: no reset, the cook's row stays where it was.
    b.refresh();
    QCoreApplication::processEvents();
    QCOMPARE(resets1.size(), 0);
    QCOMPARE(resets2.size(), 0);
    QCOMPARE(b.main->G1->currentIndex().row(), 1);

    // A changed line repaints its grid's changed cells only, without a reset: its quantity and
    // its minutes, not its name while its colours stay; a line whose colours turn, all of it.
    QueryModel* model = b.board().panelModel(0);
    QSignalSpy changes1(model, &QAbstractItemModel::dataChanged);
    QSignalSpy changes2(b.board().panelModel(1), &QAbstractItemModel::dataChanged);
    auto changedCells = [&] {
        QList<QPoint> cells;
        for (const QList<QVariant>& change : std::as_const(changes1))
            cells << QPoint(change[0].toModelIndex().column(), change[0].toModelIndex().row());
        changes1.clear();
        return cells;
    };
    m_db->exec(u"UPDATE ZAKAZ_STR SET KOLVO = 2 WHERE NAME_BLUDO = 'суп'"_s);
    b.refresh();
    QCoreApplication::processEvents();
    const int soup = b.dishes(0).indexOf(u"суп"_s);
    QCOMPARE(changedCells(), (QList<QPoint>{{1, soup}, {2, soup}}));
    QCOMPARE(model->data(model->index(soup, 1), Qt::DisplayRole).toString(), u"2"_s);
    m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE NAME_BLUDO = 'суп'"_s);
    b.refresh();
    QCoreApplication::processEvents();
    QCOMPARE(b.dishes(0).indexOf(u"суп"_s), soup);
    QCOMPARE(changedCells(), (QList<QPoint>{{0, soup}, {1, soup}, {2, soup}}));
    QCOMPARE(model->data(model->index(soup, 0), Qt::BackgroundRole).value<QColor>(), TimingColours::ReadyBackground);
    const QFont readyFont = model->data(model->index(soup, 0), Qt::FontRole).value<QFont>();
    QVERIFY(readyFont.strikeOut() && !readyFont.bold());
    QCOMPARE(resets1.size(), 0);
    QCOMPARE(changes2.size(), 0);
    QCOMPARE(b.main->G1->currentIndex().row(), 1);

    // An order that leaves the list frees its panel, and the grid is emptied.
    m_db->exec(u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE NAME_BLUDO = 'чай'"_s);
    b.refresh();
    QCoreApplication::processEvents();
    QCOMPARE(resets2.size(), 1);
    QCOMPARE(b.board().panelModel(1)->rowCount(), 0);
}

QTEST_MAIN(TestOrderBoard)
#include "TestOrderBoard.moc"
