#include "ChoiceFrames.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace {
class Frame : public QWidget {
public:
    Frame(QWidget* parent, const char* name) : QWidget(parent)
    {
        setObjectName(QString::fromLatin1(name));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    int thickness = 2;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int t = thickness;
        const QRect r = rect();
        // Four bars, so nothing inside is painted over.
        painter.fillRect(QRect(r.left(), r.top(), r.width(), t), ChoiceFrames::Colour);
        painter.fillRect(QRect(r.left(), r.bottom() - t + 1, r.width(), t), ChoiceFrames::Colour);
        painter.fillRect(QRect(r.left(), r.top(), t, r.height()), ChoiceFrames::Colour);
        painter.fillRect(QRect(r.right() - t + 1, r.top(), t, r.height()), ChoiceFrames::Colour);
    }
};

// Re-parents the frame when its place moved to another widget, or makes it.
Frame* frameIn(QPointer<QWidget>& frame, QWidget* parent, const char* name)
{
    if (!frame || frame->parentWidget() != parent) {
        delete frame.data();
        frame = new Frame(parent, name);
    }
    return static_cast<Frame*>(frame.data());
}
}

ChoiceFrames::ChoiceFrames() = default;

ChoiceFrames::~ChoiceFrames() = default;

void ChoiceFrames::show(QGroupBox* panel, QTableView* grid, int row)
{
    Frame* order = frameIn(m_order, panel, "ChoiceOrderFrame");
    // Seen from two metres at every scale of the board: about a sixtieth of the panel's width.
    // Round the dishes, in the panel's margin, leaving the title above it free.
    order->thickness = qMax(4, panel->width() / 60);
    const int margin = grid->x();
    order->setGeometry(grid->geometry().adjusted(-margin, -margin / 2, margin, margin) & panel->rect());
    order->raise();
    order->show();
    order->update();

    if (row < 0 || !grid->model() || row >= grid->model()->rowCount()) {
        if (m_dish)
            m_dish->hide();
        return;
    }
    QAbstractItemModel* model = grid->model();
    grid->scrollTo(model->index(row, 0));
    int last = model->columnCount() - 1;
    while (last > 0 && grid->isColumnHidden(last))
        --last;
    const QRect cells = grid->visualRect(model->index(row, 0)).united(grid->visualRect(model->index(row, last)));
    Frame* dish = frameIn(m_dish, grid->viewport(), "ChoiceDishFrame");
    dish->thickness = qMax(2, cells.height() / 6);
    dish->setGeometry(cells.intersected(grid->viewport()->rect()));
    dish->raise();
    dish->show();
    dish->update();
}

void ChoiceFrames::hide()
{
    if (m_order)
        m_order->hide();
    if (m_dish)
        m_dish->hide();
}
