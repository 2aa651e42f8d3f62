#include "OrderWindow.h"

#include "DataGrid.h"
#include "DesignFonts.h"
#include "QueryModel.h"
#include "RowFrameDelegate.h"
#include "Scaling.h"

#include <QHeaderView>
#include <QPushButton>

DataGrid* OrderWindow::grid(const QString& name, const QRect& place, std::span<const Column> columns,
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
    // The chosen dish is framed, as on the board: a fill would hide its colour.
    RowFrameDelegate::install(grid);
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

void OrderWindow::sizeColumns(DataGrid* grid, std::span<const Column> columns)
{
    const int base = grid->width() - 25;
    for (int i = 0; i < int(columns.size()); ++i) {
        const Column& column = columns[size_t(i)];
        grid->setColumnWidth(i, column.fixedWidth > 0 ? column.fixedWidth : shareOf(base, column.share));
    }
}

QPushButton* OrderWindow::button(const char* name, const QString& text, const QRect& place, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(place);
    b->setFont(DesignFonts::arial(13, true));
    return b;
}

QPushButton* OrderWindow::pictureButton(const char* name, const QIcon& picture, const QRect& place, QWidget* parent)
{
    QPushButton* b = button(name, QString(), place, parent);
    b->setIcon(picture);
    b->setIconSize(QSize(24, 24));
    return b;
}
