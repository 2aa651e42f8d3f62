#include "DataGrid.h"

#include "ServerTime.h"

void DataGrid::paintEvent(QPaintEvent* event)
{
    ServerTime::PaintScope scope(m_time);
    QTableView::paintEvent(event);
}
