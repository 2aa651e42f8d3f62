#pragma once
// A grid over a query's rows whose paint shares the board paint's one reading of the server's time.

#include <QTableView>

class ServerTime;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr) : QTableView(parent) {}
    void setServerTime(ServerTime* time) { m_time = time; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ServerTime* m_time = nullptr;
};
