#pragma once
// The board built from a settings folder without a server, and what its grids cut.

#include "AppState.h"
#include "Settings.h"
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
#include <QImage>
#include <QPixmap>
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
    explicit Board(const QString& folder, QSize screen = DesignScreen) : settings(folder), display(screen)
    {
        state.settingsFolder = folder;
        problems = settings.load();
        main = std::make_unique<Form_Main>(state, settings, dialogs, display, forms);
    }
    AppState state;
    Settings settings;
    QStringList problems; // of reading the settings
    FakeDialogs dialogs;
    FakeDisplayMode display;
    Forms forms;
    std::unique_ptr<Form_Main> main;
};

[[maybe_unused]] QList<int> ticked(const Form_Main& main)
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
[[maybe_unused]] QStringList cutCells(const QTableView* grid, int wrapped, const QList<int>& fitted)
{
    QStringList cut;
    const QAbstractItemModel* model = grid->model();
    const int unit = grid->verticalHeader()->defaultSectionSize();
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
    const QFontMetrics metrics(grid->font());
    QFont bold = grid->font();
    bold.setBold(true);
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
            // In bold, as a due row paints it, and to the fraction of a pixel the cell lays out.
            if (!grid->isColumnHidden(column) && QFontMetricsF(bold).horizontalAdvance(value) + margins > grid->columnWidth(column))
                cut << u"%1: \"%2\" in %3 px"_s.arg(grid->objectName(), value).arg(grid->columnWidth(column));
        }
    }
    // A row running past the bottom shows nothing, unless nothing else is in sight.
    const int bottom = grid->viewport()->height();
    const int last = grid->rowAt(bottom - 1);
    if (last > 0 && grid->rowViewportPosition(last) > 0 && grid->rowViewportPosition(last) + grid->rowHeight(last) > bottom) {
        const QImage shown = grid->viewport()->grab().toImage();
        const QRgb base = grid->palette().base().color().rgb();
        for (int y = grid->rowViewportPosition(last); y < bottom; ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != base) {
                    cut << u"%1: row %2 shown in part at %3 px"_s.arg(grid->objectName()).arg(last).arg(y);
                    y = bottom;
                    break;
                }
    }
    int across = 0;
    for (int column = 0; column < model->columnCount(); ++column)
        across += grid->isColumnHidden(column) ? 0 : grid->columnWidth(column);
    if (across != grid->viewport()->width())
        cut << u"%1: columns of %2 px in %3"_s.arg(grid->objectName()).arg(across).arg(grid->viewport()->width());
    return cut;
}

// The cut cells of the whole board: the hot queue's and every panel's.
[[maybe_unused]] QStringList cutBoardCells(const Form_Main& main)
{
    QStringList cells = cutCells(main.GHot, 1, {0, 3, 6, 7});
    for (QTableView* grid : main.panelGrids())
        cells << cutCells(grid, 0, {1, 2});
    return cells;
}

} // namespace
