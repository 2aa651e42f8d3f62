// The board's creation step: the settings files it creates and reads, its display mode, its
// scaling for the screen, its column shares and its first showing.

#include "AppState.h"
#include "FileBytes.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "Form_Main.h"
#include "Forms.h"
#include "OrderBoard.h"
#include "Database.h"
#include "Query.h"
#include "QueryModel.h"
#include "Transaction.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QCloseEvent>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// A screen on which the board keeps its design size: narrow, so the ratio is width / 880.
const QSize DesignScreen(880, 700);

struct Board {
    explicit Board(const QString& folder, QSize screen = DesignScreen) : display(screen)
    {
        state.settingsFolder = folder;
        main = std::make_unique<Form_Main>(state, dialogs, display, forms);
    }
    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display;
    Forms forms;
    std::unique_ptr<Form_Main> main;
};

QList<int> ticked(const Form_Main& main)
{
    QList<int> sections;
    const auto boxes = main.sectionBoxes();
    for (int i = 0; i < 5; ++i)
        if (boxes[i]->isChecked())
            sections << i + 1;
    return sections;
}

// Rows in a grid as a poll leaves them, from a query filled without a server.
struct Rows {
    Database db;
    Transaction transaction{db, {}};
    std::vector<std::unique_ptr<Query>> queries;
    void fill(QTableView* grid, const QStringList& fields, std::vector<Query::Row> rows)
    {
        queries.push_back(std::make_unique<Query>(db, transaction));
        queries.back()->setRows(fields, std::move(rows));
        qobject_cast<QueryModel*>(grid->model())->setQuery(queries.back().get());
    }
};

// Names of every length: one word, a short line, two lines' worth, and more than two hold.
const QStringList Names{u"Чай"_s, u"Суп с фрикадельками"_s, u"Овощи на гриле с соусом песто"_s,
                        u"Картофель жареный с грибами и луком"_s, u"Хлеб"_s, u"Салат Цезарь с курицей и гренками"_s,
                        u"Рис с овощами"_s, u"Пельмени"_s, u"Компот из сухофруктов"_s, u"Стейк"_s,
                        u"Мороженое пломбир с шоколадной крошкой, орехами, клубничным вареньем и мятой"_s};

// The cells of a grid whose text it cuts: a name that two lines would hold on fewer lines than
// its row has, a fitted column's value wider than its column; and the room across left empty.
QStringList cutCells(const QTableView* grid, int wrapped, const QList<int>& fitted)
{
    QStringList cut;
    const QAbstractItemModel* model = grid->model();
    const int unit = grid->verticalHeader()->defaultSectionSize();
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
    const QFontMetrics metrics(grid->font());
    if (metrics.height() > unit)
        cut << u"%1: letters of %2 in rows of %3"_s.arg(grid->objectName()).arg(metrics.height()).arg(unit);
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString name = model->index(row, wrapped).data().toString();
        const int width = grid->columnWidth(wrapped) - margins;
        const int lines = metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, name).height() / metrics.lineSpacing();
        if (lines <= 2 && lines > grid->rowHeight(row) / unit)
            cut << u"%1: \"%2\" needs %3 lines in %4 px"_s.arg(grid->objectName(), name).arg(lines).arg(width);
        for (int column : fitted) {
            const QString value = model->index(row, column).data().toString();
            if (!grid->isColumnHidden(column) && metrics.horizontalAdvance(value) + margins > grid->columnWidth(column))
                cut << u"%1: \"%2\" in %3 px"_s.arg(grid->objectName(), value).arg(grid->columnWidth(column));
        }
    }
    int across = 0;
    for (int column = 0; column < model->columnCount(); ++column)
        across += grid->isColumnHidden(column) ? 0 : grid->columnWidth(column);
    if (across != grid->viewport()->width())
        cut << u"%1: columns of %2 px in %3"_s.arg(grid->objectName()).arg(across).arg(grid->viewport()->width());
    return cut;
}

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesItsFiles();
    void screenFileIsRepaired_data();
    void screenFileIsRepaired();
    void fullScreenFillsTheScreen_data();
    void fullScreenFillsTheScreen();
    void windowModeScalesToTheScreen_data();
    void windowModeScalesToTheScreen();
    void controlsFitAfterScaling_data();
    void controlsFitAfterScaling();
    void fullScreenLayout_data();
    void fullScreenLayout();
    void sectionFileTicksBoxes_data();
    void sectionFileTicksBoxes();
    void groupColumnAndShares_data();
    void groupColumnAndShares();
    void unwritableFolderIsReported();
    void firstShowCentresOnce();
    void sectionClickRewritesFileOnceReady();
    void exitAsksFirst();
    void enterPressesTheFocusedButton();
};

void TestFormMain::firstStartCreatesItsFiles()
{
    QTemporaryDir dir;
    Board board(dir.path());
    const Form_Main& main = *board.main;

    QCOMPARE(fileBytes(dir.filePath("Screen.txt")), QByteArray("Window\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Net.txt")),
             QByteArray("Local\r\nlocalhost:C:\\Program Files\\Parvolin\\dishbase.fdb\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray("1\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Gruppa.txt")), QByteArray("0\r\n"));
    QCOMPARE(fileBytes(dir.filePath("TextSize.txt")), QByteArray("0\r\n"));
    QVERIFY(fileBytes(dir.filePath("Keys.txt")).startsWith("Order1 1\r\n"));
    // The sound and idle files belong to the settings dialog.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 6);

    QCOMPARE(main.windowTitle(), Form_Main::Caption);
    QVERIFY(!main.isFullScreenMode());
    QVERIFY(!(main.windowFlags() & Qt::FramelessWindowHint));
    QCOMPARE(ticked(main), QList<int>{1});
    QVERIFY(main.GHot->isColumnHidden(2));
    QVERIFY(board.dialogs.messages.isEmpty());

    QVERIFY(board.state.AtDesignSize);
    QVERIFY(!board.state.FormsReady);
    QCOMPARE(board.state.PageFirst, 1);
    QVERIFY(!main.board().AllOrders);
    QVERIFY(!board.state.HotExpanded);
    QCOMPARE(board.state.HotNormalHeight, 185);
    for (QTableView* grid : main.panelGrids())
        QVERIFY(grid->isHidden());
    QVERIFY(main.PanelSound->isHidden());
    QVERIFY(!main.BtnLimit->isEnabled());
    QVERIFY(!main.IdleTimer.isActive());
    QCOMPARE(main.BtnAll->text(), QStringLiteral("Все"));
}

void TestFormMain::screenFileIsRepaired_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("Full") << QByteArray("Full\r\n") << true << QByteArray("Full\r\n");
    QTest::newRow("Full without line end") << QByteArray("Full") << true << QByteArray("Full");
    QTest::newRow("Window") << QByteArray("Window\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("lower case") << QByteArray("full\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("leading blank") << QByteArray(" Full\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("trailing blank") << QByteArray("Full \r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("window lower case") << QByteArray("window\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("empty") << QByteArray() << false << QByteArray("Window\r\n");
}

void TestFormMain::screenFileIsRepaired()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, full);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Screen.txt"), stored));
    Board board(dir.path());
    QCOMPARE(board.main->isFullScreenMode(), full);
    QCOMPARE(fileBytes(dir.filePath("Screen.txt")), after);
    QCOMPARE(board.display.requests.size(), full ? 1 : 0);
}

void TestFormMain::fullScreenFillsTheScreen_data()
{
    // The 800x600 that the display mode shows, stretched to the whole screen; its type grows
    // by m / d, the smaller of the two ratios.
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::newRow("a display that switched") << QSize(800, 600) << 1 << 1;
    QTest::newRow("1024x768, exactly") << QSize(1024, 768) << 1024 << 800;
    QTest::newRow("1920x1080, wider") << QSize(1920, 1080) << 1080 << 600;
    QTest::newRow("1366x768, odd width") << QSize(1366, 768) << 768 << 600;
    QTest::newRow("1024x600, no taller than the design") << QSize(1024, 600) << 1 << 1;
    QTest::newRow("1280x1024, taller") << QSize(1280, 1024) << 1280 << 800;
}

void TestFormMain::fullScreenFillsTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(int, m);
    QFETCH(int, d);
    auto type = [&](int v) { return int((qint64(v) * m + d / 2) / d); };
    auto down = [&](int v) { return int((qint64(v) * screen.height() + 300) / 600); };
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Screen.txt"), "Full\r\n"));
    Board board(dir.path(), screen);
    const Form_Main& main = *board.main;

    QCOMPARE(board.display.requests.size(), 1);
    QCOMPARE(board.display.requests[0].width, 800);
    QCOMPARE(board.display.requests[0].height, 600);
    QCOMPARE(board.display.requests[0].bitsPerPixel, 16);
    QVERIFY(main.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(main.windowState() & Qt::WindowFullScreen);
    QCOMPARE(main.size(), screen);
    QCOMPARE(main.page->pos(), QPoint(0, 0));
    QCOMPARE(main.GHot->geometry(), QRect(0, 0, screen.width(), down(185)));
    QCOMPARE(main.GroupBox6->geometry().right(), screen.width() - 1);
    // The row of buttons reaches the screen's corner.
    QCOMPARE(main.BtnExit->geometry().bottomRight(), QPoint(screen.width() - 1, screen.height() - 1));
    QCOMPARE(main.BtnNet->geometry().bottom(), screen.height() - 1);
    QCOMPARE(main.G1->font().pixelSize(), type(13));
}

void TestFormMain::windowModeScalesToTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::newRow("1024x768 by width") << QSize(1024, 768) << 1024 << 880;
    QTest::newRow("1366x768 by height") << QSize(1366, 768) << 768 << 680;
    QTest::newRow("1280x1024 by width") << QSize(1280, 1024) << 1280 << 880;
    QTest::newRow("800x600 shrinks") << QSize(800, 600) << 800 << 880;
}

void TestFormMain::windowModeScalesToTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(int, m);
    QFETCH(int, d);
    auto scaled = [&](int v) { return int((qint64(v) * m + d / 2) / d); };
    QTemporaryDir dir;
    Board board(dir.path(), screen);
    const Form_Main& main = *board.main;

    QCOMPARE(main.size(), QSize(scaled(805), scaled(607)));
    QCOMPARE(main.GHot->width(), scaled(800));
    QCOMPARE(main.GHot->height(), scaled(185));
    QCOMPARE(board.state.HotNormalHeight, scaled(185));
    QCOMPARE(main.BtnExit->geometry(),
             QRect(scaled(759), scaled(555), scaled(800) - scaled(759), scaled(592) - scaled(555)));
    // Panels alike: where rounding made the first narrower, the last moves over by a pixel.
    QVERIFY(qAbs(main.GroupBox6->x() - scaled(534)) <= 1);
    QCOMPARE(main.GroupBox6->y(), scaled(368));
    QCOMPARE(main.GroupBox6->width(), main.GroupBox1->width());
    QCOMPARE(main.G1->font().pixelSize(), scaled(13));
    QCOMPARE(main.PanelSound->font().pixelSize(), scaled(32));
    QCOMPARE(main.GHot->horizontalHeader()->font().pixelSize(), scaled(11));
    // The hot queue's columns take its scaled width, none of it left empty.
    int across = 0;
    for (int column = 0; column < main.GHot->model()->columnCount(); ++column)
        across += main.GHot->isColumnHidden(column) ? 0 : main.GHot->columnWidth(column);
    QCOMPARE(across, main.GHot->width() - 2 * main.GHot->frameWidth() - main.GHot->verticalHeader()->width());
}

void TestFormMain::controlsFitAfterScaling_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("800x600") << QSize(800, 600);
    QTest::newRow("1024x768") << QSize(1024, 768);
    QTest::newRow("1366x768") << QSize(1366, 768);
    QTest::newRow("design size") << DesignScreen;
}

void TestFormMain::controlsFitAfterScaling()
{
    QFETCH(QSize, screen);
    QTemporaryDir dir;
    Board board(dir.path(), screen);
    Form_Main& main = *board.main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // Every name that two lines hold is read whole, every quantity, time and number too, and
    // no part of a grid's width is left empty, once the grids have been painted with their rows.
    auto cut = [&main] {
        QStringList cells = cutCells(main.GHot, 1, {0, 3, 6, 7});
        for (QTableView* grid : main.panelGrids())
            cells << cutCells(grid, 0, {1, 2});
        return cells;
    };
    QTRY_VERIFY2(cut().isEmpty(), qPrintable(cut().join(u"; "_s)));

    QStringList problems;
    // The section boxes lie inside their frame, below its title, each as tall as it needs.
    QStyleOptionGroupBox frame;
    frame.initFrom(main.GB_Section);
    frame.text = main.GB_Section->title();
    frame.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    QStyle* style = main.GB_Section->style();
    const QRect title = style->subControlRect(QStyle::CC_GroupBox, &frame, QStyle::SC_GroupBoxLabel, main.GB_Section);
    const QRect inside = style->subControlRect(QStyle::CC_GroupBox, &frame, QStyle::SC_GroupBoxFrame, main.GB_Section)
                             .adjusted(1, 1, -1, -1);
    for (QCheckBox* box : main.sectionBoxes()) {
        const QRect g = box->geometry();
        if (!inside.contains(g) || g.top() <= title.bottom() || g.height() < box->sizeHint().height())
            problems << QStringLiteral("%1 at %2,%3 %4x%5 (needs %6 high) under a title to %7 in %8,%9 %10x%11")
                            .arg(box->objectName()).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                            .arg(box->sizeHint().height()).arg(title.bottom()).arg(inside.x()).arg(inside.y())
                            .arg(inside.width()).arg(inside.height());
    }
    // A picture and its caption keep clear of their button's edges.
    for (QPushButton* button : main.findChildren<QPushButton*>()) {
        if (button->text().isEmpty())
            continue;
        QStyleOptionButton option;
        option.initFrom(button);
        const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        const int needed = button->iconSize().width() + 4 + button->fontMetrics().horizontalAdvance(button->text()) + 4;
        if (needed > room)
            problems << QStringLiteral("\"%1\" needs %2 of %3").arg(button->text()).arg(needed).arg(room);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

void TestFormMain::fullScreenLayout_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QByteArray>("textSize");
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<int>("panelRows"); // of one line each, shown whole in a panel
    QTest::addColumn<int>("hotRows");   // and above the panels in the hot queue
    const struct {
        QSize screen;
        int rows[3][2]; // by text size
    } sizes[] = {
        {{1024, 600}, {{8, 8}, {5, 6}, {4, 4}}},
        {{1024, 768}, {{8, 8}, {6, 6}, {4, 5}}},
        {{1366, 768}, {{8, 8}, {5, 6}, {4, 5}}},
        {{1280, 1024}, {{9, 9}, {6, 6}, {5, 5}}},
        {{1920, 1080}, {{8, 8}, {5, 6}, {4, 4}}},
    };
    for (const auto& size : sizes)
        for (int text = 0; text < 3; ++text)
            QTest::addRow("%dx%d, text size %d", size.screen.width(), size.screen.height(), text)
                << size.screen << QByteArray::number(text) << QByteArray("Full") << size.rows[text][0] << size.rows[text][1];
    QTest::addRow("1024x768 window") << QSize(1024, 768) << QByteArray("0") << QByteArray("Window") << 8 << 8;
}

void TestFormMain::fullScreenLayout()
{
    QFETCH(QSize, screen);
    QFETCH(QByteArray, textSize);
    QFETCH(QByteArray, mode);
    QFETCH(int, panelRows);
    QFETCH(int, hotRows);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Screen.txt"), mode + "\r\n"));
    QVERIFY(putFile(dir.filePath("TextSize.txt"), textSize + "\r\n"));
    QVERIFY(putFile(dir.filePath("Gruppa.txt"), "1\r\n"));
    Board board(dir.path(), screen);
    Form_Main& main = *board.main;
    // An order in every panel, and the hot queue full.
    Rows rows;
    for (QTableView* grid : main.panelGrids()) {
        std::vector<Query::Row> lines;
        for (int i = 0; i < Names.size(); ++i)
            lines.push_back({DbValue::text(Names[i]), DbValue::integer(i == 3 ? 12 : 1)});
        rows.fill(grid, {u"NAME_BLUDO"_s, u"KOLVO"_s}, std::move(lines));
        grid->show();
    }
    std::vector<Query::Row> hot;
    for (int i = 0; i < Names.size(); ++i)
        hot.push_back({DbValue::integer(i == 3 ? 12 : 1), DbValue::text(Names[i]), DbValue::text(u"Горячее"_s),
                       DbValue::text(u"23:45"_s), DbValue::text(u"Стол 12"_s), DbValue::text(u"Петров Сергей"_s),
                       DbValue::integer(181 + i)});
    rows.fill(main.GHot, {u"KOLVO"_s, u"NAME_BLUDO"_s, u"NAME_GROUP"_s, u"TP"_s, u"INFO_ZAKAZ"_s, u"FIO"_s, u"NUMBER_ZAKAZ"_s},
              std::move(hot));
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // Every name that two lines hold is read whole, every quantity, time and number too, and
    // no part of a grid's width is left empty, once the grids have been painted with their rows.
    auto cut = [&main] {
        QStringList cells = cutCells(main.GHot, 1, {0, 3, 6, 7});
        for (QTableView* grid : main.panelGrids())
            cells << cutCells(grid, 0, {1, 2});
        return cells;
    };
    QTRY_VERIFY2(cut().isEmpty(), qPrintable(cut().join(u"; "_s)));

    QStringList problems;
    auto place = [&](const QWidget* w) { return QRect(w->mapTo(&main, QPoint(0, 0)), w->size()); };
    auto describe = [](const QWidget* w, const QRect& r) {
        return QStringLiteral("%1 at %2,%3 %4x%5").arg(w->objectName()).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QList<QWidget*> shown;
    for (QWidget* w : main.page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible())
            shown << w;
    for (const QWidget* w : shown)
        if (!QRect(QPoint(0, 0), screen).contains(place(w)))
            problems << describe(w, place(w)) + QStringLiteral(" leaves the screen");
    // Touch targets: tall enough for a finger, and clear of every other control.
    for (const QAbstractButton* button : main.page->findChildren<QAbstractButton*>()) {
        // A grid's corner is no button for a cook.
        if (!button->isVisible() || qobject_cast<QAbstractItemView*>(button->parentWidget()))
            continue;
        const QRect r = place(button);
        // Window mode keeps the section boxes as they always were; its buttons are touch targets.
        const bool target = mode == "Full" || qobject_cast<const QPushButton*>(button);
        if (target && (r.height() < 40 || r.width() < 40))
            problems << describe(button, r) + QStringLiteral(" is under 40 high or wide");
        QList<const QWidget*> others(shown.begin(), shown.end());
        for (const QAbstractButton* other : main.page->findChildren<QAbstractButton*>())
            if (!qobject_cast<QAbstractItemView*>(other->parentWidget()))
                others << other;
        for (const QWidget* other : others)
            if (other != button && !other->isAncestorOf(button) && other->isVisible() && place(other).intersects(r))
                problems << describe(button, r) + QStringLiteral(" overlaps ") + describe(other, place(other));
    }
    // Every grid shows whole rows down to what covers it: no row is cut through its letters.
    QList<QTableView*> grids{main.GHot};
    for (QTableView* grid : main.panelGrids())
        grids << grid;
    for (const QTableView* grid : grids) {
        const QRect shownPart = place(grid->viewport()).intersected(grid == main.GHot ? QRect(0, 0, screen.width(), place(main.GroupBox1).top()) : QRect(QPoint(0, 0), screen));
        const int row = grid->verticalHeader()->defaultSectionSize();
        if (shownPart.height() % row != 0)
            problems << QStringLiteral("%1 cuts a row: %2 high for rows of %3").arg(grid->objectName()).arg(shownPart.height()).arg(row);
    }
    // The panels are alike, and their captions grow with the names.
    for (int i = 0; i < 6; ++i) {
        const QGroupBox* box = main.panels()[size_t(i)];
        const QTableView* grid = main.panelGrids()[size_t(i)];
        if (box->width() != main.GroupBox2->width() || grid->width() != main.G2->width())
            problems << describe(box, place(box)) + QStringLiteral(" (grid %1) is not as wide as GroupBox2 (%2, grid %3)")
                                                        .arg(grid->width()).arg(main.GroupBox2->width()).arg(main.G2->width());
        const QString caption = QStringLiteral("Кузнецов Дмитрий, № 131, Стол 12");
        const bool grown = textSize == "0" ? box->font().pixelSize() == grid->font().pixelSize()
                                           : box->font().pixelSize() > main.GHot->horizontalHeader()->font().pixelSize() * 13 / 11;
        if (!grown || grid->y() < box->fontMetrics().height() || box->fontMetrics().horizontalAdvance(caption) > box->width())
            problems << describe(box, place(box)) + QStringLiteral(" has a caption of %1 px that does not grow or fit").arg(box->font().pixelSize());
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    const int hotShown = place(main.GroupBox1).top() - place(main.GHot->viewport()).top();
    qInfo("%dx%d %s, text size %s: rows of %d px, %d in a panel, %d in the hot queue; cap height of names %d px, "
          "of captions %d px", screen.width(), screen.height(), mode.constData(), textSize.constData(),
          main.G1->verticalHeader()->defaultSectionSize(), main.G1->viewport()->height() / main.G1->verticalHeader()->defaultSectionSize(),
          hotShown / main.GHot->verticalHeader()->defaultSectionSize(), QFontMetrics(main.G1->font()).capHeight(),
          main.GroupBox1->fontMetrics().capHeight());
    QCOMPARE(main.G1->viewport()->height() / main.G1->verticalHeader()->defaultSectionSize(), panelRows);
    QCOMPARE(hotShown / main.GHot->verticalHeader()->defaultSectionSize(), hotRows);
    if (mode != "Full")
        return; // a window scales to the room the desktop leaves it
    // Larger text, fewer rows: the names grow by the setting's share.
    const int percent = textSize == "2" ? 180 : textSize == "1" ? 140 : 100;
    const bool byHeight = screen.width() * 600 > screen.height() * 800;
    const int m = byHeight ? screen.height() : screen.width(), d = byHeight ? 600 : 800;
    QCOMPARE(main.G1->font().pixelSize(), ((13 * m + d / 2) / d * percent + 50) / 100);
}

void TestFormMain::sectionFileTicksBoxes_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QList<int>>("sections");
    QTest::newRow("empty") << QByteArray() << QList<int>{};
    QTest::newRow("repeats and strangers") << QByteArray("3\r\n3\r\n9\r\n") << QList<int>{3};
    QTest::newRow("3 7 3") << QByteArray("3\r\n7\r\n3\r\n") << QList<int>{3};
    QTest::newRow("all five unordered") << QByteArray("5\r\n1\r\n4\r\n2\r\n3\r\n") << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("LF only, no last end") << QByteArray("2\n4") << QList<int>{2, 4};
    QTest::newRow("blanks count") << QByteArray(" 2\r\n2 \r\n02\r\n") << QList<int>{};
}

void TestFormMain::sectionFileTicksBoxes()
{
    QFETCH(QByteArray, stored);
    QFETCH(QList<int>, sections);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Section.txt"), stored));
    Board board(dir.path());
    QCOMPARE(ticked(*board.main), sections);
    // Ticking at start does not rewrite the file.
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), stored);
}

void TestFormMain::groupColumnAndShares_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QList<int>>("widths"); // shares of the dish, group, information and waiter columns
    const QList<int> withGroup{36, 12, 12, 12};
    const QList<int> withoutGroup{40, 0, 16, 16};
    QTest::newRow("1") << QByteArray("1\r\n") << true << withGroup;
    QTest::newRow("0") << QByteArray("0\r\n") << false << withoutGroup;
    QTest::newRow("2") << QByteArray("2\r\n") << false << withoutGroup;
    QTest::newRow("1 and a blank") << QByteArray("1 \r\n") << false << withoutGroup;
    QTest::newRow("empty") << QByteArray() << false << withoutGroup;
}

void TestFormMain::groupColumnAndShares()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, shown);
    QFETCH(QList<int>, widths);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Gruppa.txt"), stored));
    Board board(dir.path());
    const Form_Main& main = *board.main;

    QCOMPARE(main.GHot->isColumnHidden(2), !shown);
    // The texts share by their shares what the quantity, serving time, order number and
    // minutes leave, each of those as wide as its title.
    const int shared[] = {1, 2, 4, 5};
    for (int i = 1; i < 4; ++i) // within a pixel of its share against the waiter's; the dish takes what is over
        if (widths[i] > 0)
            QVERIFY(qAbs(main.GHot->columnWidth(shared[i]) * widths[3] - main.GHot->columnWidth(5) * widths[i]) <= widths[i] + widths[3]);
    QVERIFY(main.GHot->columnWidth(1) * widths[3] >= main.GHot->columnWidth(5) * widths[0]);
    const QFontMetrics titles(main.GHot->horizontalHeader()->font());
    for (int column : {0, 3, 6, 7}) {
        const int title = titles.horizontalAdvance(main.GHot->model()->headerData(column, Qt::Horizontal).toString());
        QVERIFY(main.GHot->columnWidth(column) > title && (column == 7 || main.GHot->columnWidth(column) < title + 20));
    }
    int across = 0;
    for (int column = 0; column < main.GHot->model()->columnCount(); ++column)
        across += main.GHot->isColumnHidden(column) ? 0 : main.GHot->columnWidth(column);
    QCOMPARE(across, main.GHot->width() - 2 * main.GHot->frameWidth() - main.GHot->verticalHeader()->width());
    // Empty panels: the name takes all but the room of two figures for the quantity and of a
    // dish 99 minutes late for the minutes, which turn with the server's clock.
    QFont bold = main.G1->font();
    bold.setBold(true);
    for (QTableView* grid : main.panelGrids()) {
        QVERIFY(grid->columnWidth(2) > QFontMetrics(bold).horizontalAdvance(u"!\u221299"_s));
        QVERIFY(grid->columnWidth(1) < grid->columnWidth(2));
        QCOMPARE(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2), grid->width() - 2 * grid->frameWidth());
    }
    QCOMPARE(fileBytes(dir.filePath("Gruppa.txt")), stored);
}

void TestFormMain::unwritableFolderIsReported()
{
    QTemporaryDir dir;
    Board board(dir.filePath("no-such-folder"));
    QCOMPARE(board.dialogs.messages.size(), 1);
    QVERIFY(board.dialogs.messages[0].contains("Screen.txt"));
    // The steps after the failure did not run: no section ticked, no file made.
    QVERIFY(ticked(*board.main).isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("no-such-folder/Net.txt")));
}

void TestFormMain::firstShowCentresOnce()
{
    QTemporaryDir dir;
    Board board(dir.path(), QSize(1280, 1024));
    Form_Main& main = *board.main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const QSize frame = main.frameGeometry().size();
    QCOMPARE(main.frameGeometry().topLeft(), QPoint((1280 - frame.width()) / 2, (1024 - frame.height()) / 2));

    main.move(5, 5);
    main.hide();
    main.show();
    QCOMPARE(main.pos(), QPoint(5, 5));
}

void TestFormMain::sectionClickRewritesFileOnceReady()
{
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Section.txt"), "3\r\n"));
    Board board(dir.path());
    board.main->CB_S5->setChecked(true); // still starting up: the file is left alone
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray("3\r\n"));

    board.state.FormsReady = true;
    board.main->CB_S1->setChecked(true);
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray("1\r\n3\r\n5\r\n"));
    board.main->CB_S1->setChecked(false);
    board.main->CB_S3->setChecked(false);
    board.main->CB_S5->setChecked(false);
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray());
}

void TestFormMain::exitAsksFirst()
{
    // The exit button, then the window's close box.
    for (bool closeBox : {false, true}) {
        QTemporaryDir dir;
        Board board(dir.path());
        board.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.main.get()));
        board.dialogs.answers << false << true;
        for (bool closed : {false, true}) {
            if (closeBox) { // as the window system delivers it
                QCloseEvent close;
                QCoreApplication::sendEvent(board.main->windowHandle(), &close);
            } else
                QTest::mouseClick(board.main->BtnExit, Qt::LeftButton);
            QCOMPARE(board.main->isClosed(), closed);
        }
        // Cancel is focused: Enter does not end the service.
        QCOMPARE(board.dialogs.questions.value(1), Form_Main::Caption + u'|' + Form_Main::ExitQuestion);
        QCOMPARE(board.dialogs.focused, QList<Dialogs::Focus>(2, Dialogs::Focus::Cancel));
    }
}

void TestFormMain::enterPressesTheFocusedButton()
{
    QTemporaryDir dir;
    Board board(dir.path());
    board.main->show();
    QVERIFY(QTest::qWaitForWindowActive(board.main.get()));
    board.main->BtnAll->setFocus();
    QSignalSpy clicked(board.main->BtnAll, &QPushButton::clicked);
    QTest::keyClick(board.main->BtnAll, Qt::Key_Return);
    QCOMPARE(clicked.size(), 1);
}

QTEST_MAIN(TestFormMain)
#include "TestFormMain.moc"
