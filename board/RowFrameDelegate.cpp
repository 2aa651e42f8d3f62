#include "RowFrameDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

void RowFrameDelegate::install(QAbstractItemView* view)
{
    QPalette palette = view->palette();
    auto* delegate = new RowFrameDelegate(palette.color(QPalette::Active, QPalette::Highlight), view);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Highlight, Qt::transparent);
    view->setPalette(palette);
    view->setItemDelegate(delegate);
}

void RowFrameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    const bool chosen = option.state & QStyle::State_Selected;
    initStyleOption(&plain, index);
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    // A row of two lines (a long name wrapped) has every cell's text start where a row of one
    // line has it, so that a row cut off at the foot of its grid still shows its first line whole.
    const auto* rows = qobject_cast<const QTableView*>(view);
    const int unit = rows ? rows->verticalHeader()->defaultSectionSize() : 0;
    if (unit > 0 && option.rect.height() > unit) {
        const int lead = qMax(0, (unit - plain.fontMetrics.height()) / 2);
        painter->fillRect(QRect(plain.rect.left(), plain.rect.top(), plain.rect.width(), lead), plain.backgroundBrush);
        plain.rect.setTop(plain.rect.top() + lead);
        plain.displayAlignment = (plain.displayAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    }
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, option.widget);
    if (!chosen)
        return;
    // The first and last columns shown, hidden ones skipped.
    int first = 0, last = index.model()->columnCount() - 1;
    if (auto* table = qobject_cast<const QTableView*>(view)) {
        const QHeaderView* header = table->horizontalHeader();
        first = header->logicalIndex(0);
        for (int v = 0; v < header->count() && header->isSectionHidden(first); ++v)
            first = header->logicalIndex(v);
        last = header->logicalIndex(header->count() - 1);
        for (int v = header->count() - 1; v >= 0 && header->isSectionHidden(last); --v)
            last = header->logicalIndex(v);
    }
    frameCell(painter, option.rect, index.column() == first, index.column() == last,
              frameWidth(option.rect.height()), m_frame);
}

void RowFrameDelegate::frameCell(QPainter* painter, const QRect& cell, bool first, bool last, int width,
                                 const QColor& colour)
{
    painter->save();
    painter->fillRect(QRect(cell.left(), cell.top(), cell.width(), width), colour);
    painter->fillRect(QRect(cell.left(), cell.bottom() - width + 1, cell.width(), width), colour);
    if (first)
        painter->fillRect(QRect(cell.left(), cell.top(), width, cell.height()), colour);
    if (last)
        painter->fillRect(QRect(cell.right() - width + 1, cell.top(), width, cell.height()), colour);
    painter->restore();
}

int RowFrameDelegate::frameWidth(int rowHeight)
{
    return qMax(2, rowHeight / 6);
}
