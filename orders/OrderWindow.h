#pragma once
// What the order windows share: grids of an order's lines in named columns with blue titles, a
// row indicator, whole rows chosen and framed, nothing editable; and their large text buttons.

#include <QIcon>
#include <QString>
#include <span>

class DataGrid;
class QPushButton;
class QRect;
class QWidget;

namespace OrderWindow {
struct Column {
    QString field;
    QString title;
    int share;          // hundredths of (grid width - 25)
    int fixedWidth = 0; // pixels, instead of a share
};

DataGrid* grid(const QString& name, const QRect& place, std::span<const Column> columns,
                 int titlePixels, QWidget* parent);

// The column widths from the grid's present width; set once, after the window's scaling.
void sizeColumns(DataGrid* grid, std::span<const Column> columns);

// Buttons with the windows' bold 13-pixel caption, or with a picture alone.
QPushButton* button(const char* name, const QString& text, const QRect& place, QWidget* parent);
QPushButton* pictureButton(const char* name, const QIcon& picture, const QRect& place, QWidget* parent);
}
