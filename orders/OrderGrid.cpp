#include "OrderGrid.h"

#include "DataGrid.h"
#include "DesignFonts.h"
#include "QueryModel.h"
#include "Scaling.h"

#include <QHeaderView>

DataGrid* OrderGrid::create(const QString& name, const QRect& place, std::span<const Column> columns,
                            int titlePixels, QWidget* parent)
{
    auto* grid = new DataGrid(parent);
    grid->setObjectName(name);
    grid->setGeometry(place);
    QStringList fields, titles;
    for (const Column& column : columns) {
        fields << column.field;
        titles << column.title;
    }
    auto* model = new QueryModel(fields, grid);
    model->setTitles(titles);
    grid->setModel(model);
    grid->setFont(DesignFonts::arial(13));
    QHeaderView* header = grid->horizontalHeader();
    header->setFont(DesignFonts::arial(titlePixels));
    header->setHighlightSections(false);
    QPalette titleColours = header->palette();
    titleColours.setColor(QPalette::ButtonText, Qt::blue);
    header->setPalette(titleColours);
    grid->verticalHeader()->setFixedWidth(11);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    return grid;
}

void OrderGrid::sizeColumns(DataGrid* grid, std::span<const Column> columns)
{
    const int base = grid->width() - 25;
    for (int i = 0; i < int(columns.size()); ++i) {
        const Column& column = columns[size_t(i)];
        grid->setColumnWidth(i, column.fixedWidth > 0 ? column.fixedWidth : shareOf(base, column.share));
    }
}
