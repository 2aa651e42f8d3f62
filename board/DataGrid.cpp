#include "DataGrid.h"

#include <QScrollBar>

#include "Query.h"
#include "QueryModel.h"
#include "ServerTime.h"

#include <QHeaderView>
#include <QMouseEvent>

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

void DataGrid::paintEvent(QPaintEvent* event)
{
    ServerTime::PaintScope scope(m_time);
    QTableView::paintEvent(event);
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
