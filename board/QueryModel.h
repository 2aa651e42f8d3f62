#pragma once
// A grid's data source: the fetched rows of a query as a table, some of its fields as columns,
// coloured row by row by a rule of the window that shows it. Reopening the query with the rows
// the grid already shows changes nothing on the screen.

#include "DbValue.h"
#include "TimingColours.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Query;

class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Shows nothing until it is given a query.
    QueryModel(const QStringList& fields, QObject* parent = nullptr);

    void setQuery(Query* query);
    Query* query() const { return m_query; }
    void setTitles(const QStringList& titles) { m_titles = titles; }
    // The colours of one row; empty for the grid's own.
    std::function<TimingColours::Colours(const Query&, int row)> colours;
    // A column named so holds no field but the minutes a dish has left, right-aligned.
    static const QString MinutesColumn;
    // The minutes of one row, from the same inputs as its colours; nothing shows none.
    std::function<std::optional<qint64>(const Query&, int row)> minutes;
    // A row's colours when its values alone decide them, nothing when they need the server's
    // time. With it, a row that changes keeps its cells whose value and colours stay.
    std::function<std::optional<TimingColours::Colours>(const TimingColours::Line&)> timeFreeColours;
    // The colour of the ready background.
    QColor readyBackground = TimingColours::ReadyBackground;
    // Reopened with the rows it shows, the query goes back to the row the grid marks as current.
    bool keepCurrentRow = false;
    // The fields that name the order line a row shows. Reopened with other rows (a minute later
    // the minutes left differ), the query goes back to the row of the same line, if it is still
    // there. Reopened with every line on its row, the grid repaints only the cells that changed.
    QStringList lineFields;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The inputs of the colour rules from row `row` of a query with the order line's columns.
    static TimingColours::Line timing(const Query& query, int row);
    static TimingColours::Line timing(const QStringList& fields, const std::vector<DbValue>& values);
    // The milliseconds until the minutes left of any row turn next, by the server's time `now`
    // (asked only when a row has a due time); none when no row turns.
    std::optional<qint64> msToNextTurn(const TimingColours::ServerNow& now) const;
    // The rows whose minutes left turn within `slackMs` of `now` (in days), before or after it.
    QList<int> rowsTurningAt(double now, qint64 slackMs) const;

signals:
    // The query's current row moved to `row`.
    void currentRowMoved(int row);
    // New rows came, and the current row is again the line that was current before them.
    void currentLineKept(int row);

private:
    QVariant minutesData(int row, int role) const;
    void queryRowsChanged();
    void follow();               // resets to the query's rows when they differ from the shown ones
    bool showsQueryRows() const;
    bool updateInPlace(int kept); // the changed rows repainted, no reset, when the rows keep their places
    void remember();             // the query's rows are now the shown ones
    int rowOfCurrentLine() const; // in the query, the row of the line current among the shown rows

    Query* m_query = nullptr;
    QStringList m_fields;
    QStringList m_titles;
    // What the grid was last reset to: a copy of the rows, their field names, the current row.
    std::vector<std::vector<DbValue>> m_shown;
    QStringList m_shownFields;
    int m_shownCurrent = -1;
    bool m_followQueued = false;
};
