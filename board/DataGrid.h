#pragma once
// A grid over a query's rows whose paint shares the board paint's one reading of the server's
// time. It tells of every mouse release over it, on its rows, below them or on its titles, and
// can keep its selected row and its query's current row in step.

#include <QHash>
#include <QList>
#include <QTableView>
#include <QTimer>
#include <optional>

class QueryModel;
class ServerTime;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    void setServerTime(ServerTime* time) { m_time = time; }

    // From now on a row chosen in the grid becomes its query's current row, and a move of the
    // query's current row selects that row in the grid. Grids over one query thus stay in step.
    // The model must be a QueryModel.
    void followCurrentRow();
    // A grid whose query is reopened by a timer: a row chosen in the grid becomes its query's
    // current row and stays so while reopening brings back the same rows; the first row that
    // the query takes on new rows is marked, not selected, so that no colour hides under the
    // selection. What is selected is always what acts.
    void followChosenRow();

    // Rows and columns sized to what they show, again whenever the rows change. The `wrapped`
    // column's text goes onto a second line of its row where one line cannot hold it, so a row
    // is one or two of the grid's row heights, and only what two lines cannot hold is cut; the
    // `fitted` columns are as wide as their widest value (and title, where titles show); the
    // other columns share what is left by their `shares`, a hidden column by none.
    struct Fitting {
        int wrapped = -1;
        QList<int> fitted;
        QList<int> shares; // by column; fitted ones are not counted
        // What a fitted column holds at the least, in bold: the minutes left change with the
        // server's time, which tells the grid nothing.
        QHash<int, QString> least;
    };
    void setFitting(const Fitting& fitting);
    // Sizes the rows and columns now, as for the rows shown.
    void fitToContents();

signals:
    // Any mouse button pressed anywhere over the grid, before the grid has handled it.
    void mouseDown(Qt::MouseButton button, QPoint position);
    // Any mouse button released anywhere over the grid, after the grid has handled it.
    void mouseUp(Qt::MouseButton button, QPoint position);
    // The cook scrolled to the last row: a grid over the first rows of a query may fetch more.
    void scrolledToEnd();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr qint64 TurnSlackMs = 1000;
    void repaintTurned();
    QueryModel* chosenRowIsCurrent();
    void hideCutRow();
    void selectCurrentRow();

    int widestValue(int column) const;
    bool needsTwoLines(int row, int width) const;

    ServerTime* m_time = nullptr;
    QTimer* m_turn = nullptr; // repaints when the minutes left of a row turn next
    bool m_chosenBeforeReset = false;
    std::optional<Fitting> m_fitting;
};
