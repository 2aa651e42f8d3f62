#pragma once
// Draws a grid's cells with the chosen row shown as a frame around the row instead of a fill,
// so that the dish's colour, weight and ready background stay readable under it. The frame is
// drawn in one place, `frameCell`, for every grid that lists dishes.

#include <QColor>
#include <QStyledItemDelegate>

class QAbstractItemView;

class RowFrameDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Gives the view this delegate. The view's own selection fill, which it paints before any
    // delegate, is made transparent; its colour goes to the frame.
    static void install(QAbstractItemView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The frame's share of a cell: its top and bottom edges, the left edge on the first column
    // and the right edge on the last, `width` pixels thick inside the cell.
    static void frameCell(QPainter* painter, const QRect& cell, bool first, bool last, int width,
                          const QColor& colour);
    // The frame's thickness for a row of this height: thick enough to see from across a kitchen.
    static int frameWidth(int rowHeight);

private:
    RowFrameDelegate(const QColor& frame, QObject* parent) : QStyledItemDelegate(parent), m_frame(frame) {}
    QColor m_frame;
};
