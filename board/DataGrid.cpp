#include "DataGrid.h"

#include <cmath>
#include <QScrollBar>
#include <QStyle>

#include "Query.h"
#include "QueryModel.h"
#include "ServerTime.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

DataGrid::DataGrid(QWidget* parent) : QTableView(parent)
{
    // The titles and the row indicator belong to the grid too.
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value > 0 && value == verticalScrollBar()->maximum())
            emit scrolledToEnd();
    });
}

// The rows held from the last read keep their due times: at a minute's turn the grid repaints
// its minutes and colours from them and the server's time, without reading them again.
void DataGrid::paintEvent(QPaintEvent* event)
{
    ServerTime::PaintScope scope(m_time);
    QTableView::paintEvent(event);
    hideCutRow();
    auto* rows = qobject_cast<QueryModel*>(model());
    if (!m_time || !rows)
        return;
    const std::optional<qint64> next = rows->msToNextTurn([this] { return m_time->now(); });
    if (!next)
        return;
    if (!m_turn) {
        m_turn = new QTimer(this);
        m_turn->setSingleShot(true);
        // On time, so that the rows that turned are the ones repainted.
        m_turn->setTimerType(Qt::PreciseTimer);
        connect(m_turn, &QTimer::timeout, this, &DataGrid::repaintTurned);
    }
    m_turn->start(int(*next));
}

// A row that runs past the grid's bottom would show the first line of a wrapped name as if it
// were all of it ("Пельмени" of "Пельмени домашние"): it stays empty, with the scroll bar to
// say there is more, unless it is the only row in sight.
void DataGrid::hideCutRow()
{
    if (!m_fitting || !model())
        return;
    const int bottom = viewport()->height();
    const int row = rowAt(bottom - 1);
    if (row < 0)
        return;
    const int top = rowViewportPosition(row);
    if (top <= 0 || top + rowHeight(row) <= bottom)
        return;
    QPainter painter(viewport());
    painter.fillRect(QRect(0, top, viewport()->width(), bottom - top), palette().base());
}

// Only the rows whose minutes turned are painted again, not the whole grid.
void DataGrid::repaintTurned()
{
    auto* rows = qobject_cast<QueryModel*>(model());
    const std::optional<double> now = m_time && rows ? m_time->now() : std::nullopt;
    if (!now) {
        viewport()->update();
        return;
    }
    QRegion turned;
    for (int row : rows->rowsTurningAt(*now, TurnSlackMs))
        turned += QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
    if (turned.isEmpty())
        viewport()->update();
    else
        viewport()->update(turned);
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (m_fitting)
        fitToContents();
}

// Larger letters need wider fitted columns: a grid whose size stays refits all the same.
void DataGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_fitting)
        fitToContents();
}

void DataGrid::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->position().toPoint());
    QTableView::mousePressEvent(event);
}

void DataGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    emit mouseUp(event->button(), event->position().toPoint());
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint position = viewport()->mapFromGlobal(mouse->globalPosition().toPoint());
        if (event->type() == QEvent::MouseButtonPress)
            emit mouseDown(mouse->button(), position);
        else
            emit mouseUp(mouse->button(), position);
    }
    return QTableView::eventFilter(watched, event);
}

void DataGrid::followCurrentRow()
{
    QueryModel* model = chosenRowIsCurrent();
    connect(model, &QueryModel::currentRowMoved, this, &DataGrid::selectCurrentRow);
    connect(model, &QAbstractItemModel::modelReset, this, &DataGrid::selectCurrentRow);
}

void DataGrid::followChosenRow()
{
    QueryModel* model = chosenRowIsCurrent();
    model->keepCurrentRow = true;
    // The cook's choice stays chosen on its line when new rows come.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_chosenBeforeReset = selectionModel()->hasSelection(); });
    connect(model, &QueryModel::currentLineKept, this, [this, model](int row) {
        if (m_chosenBeforeReset)
            setCurrentIndex(model->index(row, 0));
    });
}

QueryModel* DataGrid::chosenRowIsCurrent()
{
    auto* model = qobject_cast<QueryModel*>(this->model());
    Q_ASSERT(model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [model](const QModelIndex& current) {
                if (current.isValid() && model->query())
                    model->query()->setRecNo(current.row());
            });
    return model;
}

void DataGrid::selectCurrentRow()
{
    auto* model = qobject_cast<QueryModel*>(this->model());
    const Query* query = model ? model->query() : nullptr;
    if (!query || query->eof())
        return;
    const int row = query->recNo();
    if (currentIndex().row() != row) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        setCurrentIndex(model->index(row, column));
    }
    scrollTo(model->index(row, 0));
}

void DataGrid::setFitting(const Fitting& fitting)
{
    const bool first = !m_fitting;
    m_fitting = fitting;
    if (first && model()) {
        connect(model(), &QAbstractItemModel::modelReset, this, &DataGrid::fitToContents);
        connect(model(), &QAbstractItemModel::layoutChanged, this, &DataGrid::fitToContents);
        connect(model(), &QAbstractItemModel::rowsInserted, this, &DataGrid::fitToContents);
        connect(model(), &QAbstractItemModel::rowsRemoved, this, &DataGrid::fitToContents);
        connect(model(), &QAbstractItemModel::dataChanged, this, &DataGrid::fitToContents);
    }
    fitToContents();
}

int DataGrid::widestValue(int column) const
{
    // The style's margins on both sides of a cell's text, and the grid line.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    QFont bold = font();
    bold.setBold(true);
    int widest = QFontMetrics(bold).horizontalAdvance(m_fitting->least.value(column, QStringLiteral("00")));
    const QAbstractItemModel* m = model();
    for (int row = 0; row < m->rowCount(); ++row) {
        const QModelIndex index = m->index(row, column);
        const QVariant font = m->data(index, Qt::FontRole);
        // Measured in bold: a row turns bold when it comes due, between two reads of the rows.
        QFont shown = font.isValid() ? font.value<QFont>().resolve(this->font()) : this->font();
        shown.setBold(true);
        // The cell lays its text out in fractions of a pixel: a width rounded down is cut.
        const QFontMetricsF metrics(shown);
        widest = qMax(widest, int(std::ceil(metrics.horizontalAdvance(m->data(index, Qt::DisplayRole).toString()))));
    }
    widest += margins + 1;
    if (!horizontalHeader()->isHidden()) {
        const QString title = m->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const int titleMargins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 2;
        widest = qMax(widest, horizontalHeader()->fontMetrics().horizontalAdvance(title) + titleMargins);
    }
    return widest;
}

bool DataGrid::needsTwoLines(int row, int width) const
{
    const QModelIndex index = model()->index(row, m_fitting->wrapped);
    const QVariant font = model()->data(index, Qt::FontRole);
    const QFontMetrics metrics(font.isValid() ? font.value<QFont>().resolve(this->font()) : this->font());
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    return metrics.horizontalAdvance(model()->data(index, Qt::DisplayRole).toString()) > width - margins;
}

void DataGrid::fitToContents()
{
    if (!m_fitting || !model())
        return;
    // The minutes left read the server's time: once for every grid fitted in this turn of the
    // event loop and the paint that follows.
    ServerTime::PaintScope scope(m_time, ServerTime::PaintScope::Kind::Fit);
    const Fitting& f = *m_fitting;
    QHeaderView* columns = horizontalHeader();
    QHeaderView* rows = verticalHeader();
    const int count = model()->columnCount();
    int fixed = 0;
    for (int column : f.fitted)
        if (column < count && !isColumnHidden(column)) {
            setColumnWidth(column, widestValue(column));
            fixed += columnWidth(column);
        }
    int shareSum = 0;
    for (int column = 0; column < count && column < f.shares.size(); ++column)
        if (!f.fitted.contains(column) && !isColumnHidden(column))
            shareSum += f.shares[column];
    const int unit = rows->defaultSectionSize();
    const int shown = height() - 2 * frameWidth() - (columns->isHidden() ? 0 : columns->height());
    // The room across, less the scroll bar when the rows, wrapped at that width, overflow.
    auto place = [&](int across) {
        const int left = across - fixed;
        int given = 0, last = -1;
        for (int column = 0; column < count && column < f.shares.size(); ++column) {
            if (f.fitted.contains(column) || isColumnHidden(column) || shareSum == 0)
                continue;
            const int width = left * f.shares[column] / shareSum;
            setColumnWidth(column, width);
            given += width;
            last = column;
        }
        // What the shares leave over goes to the wrapped column, else to the last shared one.
        const int spare = f.wrapped >= 0 && !f.fitted.contains(f.wrapped) ? f.wrapped : last;
        if (spare >= 0)
            setColumnWidth(spare, columnWidth(spare) + left - given);
        int total = 0;
        for (int row = 0; row < model()->rowCount(); ++row) {
            const int height = f.wrapped >= 0 && needsTwoLines(row, columnWidth(f.wrapped)) ? 2 * unit : unit;
            if (rows->sectionSize(row) != height)
                rows->resizeSection(row, height);
            total += height;
        }
        return total;
    };
    const int across = width() - 2 * frameWidth() - (rows->isHidden() ? 0 : rows->width());
    if (place(across) > shown)
        place(across - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar()));
}
