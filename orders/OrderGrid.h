#pragma once
// The grids of the order windows: an order's lines in named columns with blue titles, a row
// indicator, whole rows selected, nothing editable.

#include <QString>
#include <span>

class DataGrid;
class QRect;
class QWidget;

namespace OrderGrid {
struct Column {
    QString field;
    QString title;
    int share;          // hundredths of (grid width - 25)
    int fixedWidth = 0; // pixels, instead of a share
};

DataGrid* create(const QString& name, const QRect& place, std::span<const Column> columns,
                 int titlePixels, QWidget* parent);

// The column widths from the grid's present width; set once, after the window's scaling.
void sizeColumns(DataGrid* grid, std::span<const Column> columns);
}
