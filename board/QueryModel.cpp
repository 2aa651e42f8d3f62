#include "QueryModel.h"

#include "DbError.h"
#include "LocaleFormats.h"
#include "Query.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
QString shown(const DbValue& value)
{
    switch (value.type()) {
    case DbValue::Type::Null: return {};
    // Quantities and prices in the general number format of the locale: 1, 0,5, 120,75.
    case DbValue::Type::Double: return QLocale().toString(*value.toDouble(), 'g', 15);
    // Moments in the locale's short date and long time.
    case DbValue::Type::Timestamp: {
        const QLocale locale;
        const QDateTime moment = DbTime::toDateTime(*value.toDouble());
        return locale.toString(moment.date(), LocaleFormats::shortDate(locale)) + u' '
               + locale.toString(moment.time(), LocaleFormats::longTime(locale));
    }
    default: return value.toText().value_or(QString());
    }
}

int integerOr0(const DbValue& value)
{
    return int(value.toInt64().value_or(0));
}
}

const QString QueryModel::MinutesColumn = u"=MINUTES"_s;

QueryModel::QueryModel(const QStringList& fields, QObject* parent)
    : QAbstractTableModel(parent), m_fields(fields)
{
}

void QueryModel::setQuery(Query* query)
{
    beginResetModel();
    if (m_query)
        disconnect(m_query, nullptr, this, nullptr);
    m_query = query;
    if (m_query) {
        connect(m_query, &Query::rowsChanged, this, &QueryModel::queryRowsChanged);
        connect(m_query, &Query::currentChanged, this, [this](int row) {
            if (row == m_shownCurrent)
                return;
            m_shownCurrent = row;
            if (rowCount() > 0)
                emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
            emit currentRowMoved(row);
        });
    }
    remember();
    endResetModel();
}

// Every refresh closes the query and opens it again, mostly to fetch the very rows the grid
// shows. A reset for nothing would repaint every cell and lose the cook's place in the grid,
// so the grid is reset only when the rows differ from the ones it shows. The colours need no
// reset of their own: an order line's minutes left, which the database computes at every
// fetch, turn at the very minute its colour can. A close that no open follows empties the grid
// once the event loop turns.
void QueryModel::queryRowsChanged()
{
    if (m_query->isOpen()) {
        follow();
        return;
    }
    if (m_followQueued)
        return;
    m_followQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_followQueued = false;
        follow();
    }, Qt::QueuedConnection);
}

void QueryModel::follow()
{
    if (showsQueryRows()) {
        if (keepCurrentRow && m_query && m_query->isOpen() && m_shownCurrent >= 0
            && m_shownCurrent < m_query->recordCount())
            m_query->setRecNo(m_shownCurrent);
        return;
    }
    const int kept = rowOfCurrentLine();
    if (updateInPlace(kept))
        return;
    beginResetModel();
    remember();
    endResetModel();
    if (kept >= 0) {
        m_query->setRecNo(kept);
        emit currentLineKept(kept);
    }
}

// At a minute's turn the same lines come back with other minutes left. A reset would lay every
// grid out anew and repaint it whole; the same rows in the same places need only their changed
// cells repainted: a changed value, the minutes of a changed row, and the whole row when its
// colours may have turned. Only a grid whose rows name their lines is spared the reset, and only
// when every line stays on its row; otherwise the reset moves the cook's place as before.
bool QueryModel::updateInPlace(int kept)
{
    const int rows = m_query && m_query->isOpen() ? m_query->recordCount() : 0;
    if (rows == 0 || lineFields.isEmpty() || size_t(rows) != m_shown.size() || m_query->fieldNames() != m_shownFields)
        return false;
    std::vector<int> line; // the query's columns that name a row's line
    for (const QString& field : lineFields)
        line.push_back(m_query->fieldIndex(field));
    if (std::find(line.begin(), line.end(), -1) != line.end())
        return false;
    for (int i = 0; i < rows; ++i)
        for (int column : line)
            if (m_query->row(i)[size_t(column)] != m_shown[size_t(i)][size_t(column)])
                return false;
    if (keepCurrentRow && m_shownCurrent >= 0 && kept != m_shownCurrent)
        return false;
    std::vector<int> columns; // the query's column of each of the grid's, -1 for none
    for (const QString& field : m_fields)
        columns.push_back(m_query->fieldIndex(field));
    for (int i = 0; i < rows; ++i) {
        const Query::Row& now = m_query->row(i);
        Query::Row& before = m_shown[size_t(i)];
        if (now == before)
            continue;
        bool wholeRow = true;
        if (timeFreeColours) {
            const auto was = timeFreeColours(timing(m_shownFields, before));
            wholeRow = !was || was != timeFreeColours(timing(m_shownFields, now));
        }
        for (int c = 0; c < int(m_fields.size()); ++c) {
            const int column = columns[size_t(c)];
            if (wholeRow || m_fields[c] == MinutesColumn
                || (column >= 0 && now[size_t(column)] != before[size_t(column)]))
                emit dataChanged(index(i, c), index(i, c));
        }
        before = now;
    }
    if (keepCurrentRow && m_shownCurrent >= 0)
        m_query->setRecNo(m_shownCurrent);
    return true;
}

int QueryModel::rowOfCurrentLine() const
{
    if (!keepCurrentRow || lineFields.isEmpty() || !m_query || !m_query->isOpen() || m_shownCurrent < 0
        || size_t(m_shownCurrent) >= m_shown.size())
        return -1;
    std::vector<std::pair<int, const DbValue*>> line; // the query's column, the value shown
    for (const QString& field : lineFields) {
        const int shownColumn = int(m_shownFields.indexOf(field));
        const int column = m_query->fieldIndex(field);
        if (shownColumn < 0 || column < 0)
            return -1;
        line.emplace_back(column, &m_shown[size_t(m_shownCurrent)][size_t(shownColumn)]);
    }
    for (int row = 0; row < m_query->recordCount(); ++row) {
        const Query::Row& values = m_query->row(row);
        if (std::all_of(line.begin(), line.end(), [&](const auto& f) { return values[size_t(f.first)] == *f.second; }))
            return row;
    }
    return -1;
}

bool QueryModel::showsQueryRows() const
{
    const int rows = m_query ? m_query->recordCount() : 0;
    if (size_t(rows) != m_shown.size())
        return false;
    if (rows > 0 && m_query->fieldNames() != m_shownFields)
        return false;
    for (int i = 0; i < rows; ++i)
        if (m_query->row(i) != m_shown[size_t(i)])
            return false;
    return true;
}

void QueryModel::remember()
{
    m_shown.clear();
    m_shownFields.clear();
    m_shownCurrent = -1;
    if (!m_query)
        return;
    for (int i = 0; i < m_query->recordCount(); ++i)
        m_shown.push_back(m_query->row(i));
    m_shownFields = m_query->fieldNames();
    m_shownCurrent = m_query->recNo();
}

int QueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_query ? 0 : m_query->recordCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_query || index.row() >= m_query->recordCount())
        return {};
    if (m_fields[index.column()] == MinutesColumn && role != Qt::ForegroundRole && role != Qt::BackgroundRole
        && role != Qt::FontRole)
        return minutesData(index.row(), role);
    switch (role) {
    case Qt::DisplayRole: {
        int column = m_query->fieldIndex(m_fields[index.column()]);
        return column < 0 ? QVariant() : shown(m_query->row(index.row())[size_t(column)]);
    }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (!colours)
            return {};
        TimingColours::Colours c = colours(*m_query, index.row());
        if (role == Qt::ForegroundRole)
            return c.text ? QVariant(*c.text) : QVariant();
        return c.readyBackground ? QVariant(readyBackground) : QVariant();
    }
    case Qt::FontRole: {
        // Urgency in the weight as well as in the colour, a ready dish struck through: only
        // these are set, the rest of the grid's font stays.
        if (!colours)
            return {};
        TimingColours::Colours c = colours(*m_query, index.row());
        const bool urgent = TimingColours::urgency(c) != TimingColours::Urgency::None;
        if (!urgent && !c.readyBackground)
            return {};
        QFont font;
        if (urgent)
            font.setBold(true);
        if (c.readyBackground)
            font.setStrikeOut(true);
        return font;
    }
    default:
        return {};
    }
}

QVariant QueryModel::minutesData(int row, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole || !minutes)
        return {};
    const std::optional<qint64> left = minutes(*m_query, row);
    if (!left)
        return QString();
    // A late dish carries a mark beside its figure, for those to whom its red looks like maroon.
    const bool late = colours && TimingColours::urgency(colours(*m_query, row)) == TimingColours::Urgency::Late;
    return (late ? u"!"_s : QString()) + TimingColours::minutesText(*left);
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row indicator marks the query's current row and nothing else.
        if (role != Qt::DisplayRole)
            return {};
        return m_query && section == m_query->recNo() ? u"▸"_s : QString();
    }
    if (role != Qt::DisplayRole || section < 0 || section >= m_fields.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return section < m_titles.size() ? m_titles[section] : m_fields[section];
}

TimingColours::Line QueryModel::timing(const Query& query, int row)
{
    return timing(query.fieldNames(), query.row(row));
}

TimingColours::Line QueryModel::timing(const QStringList& fields, const std::vector<DbValue>& values)
{
    auto field = [&](const QString& name) -> const DbValue& {
        static const DbValue null;
        for (qsizetype i = 0; i < fields.size() && size_t(i) < values.size(); ++i)
            if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
                return values[size_t(i)];
        return null;
    };
    TimingColours::Line line;
    line.myTime = integerOr0(field(u"MY_TIME"_s));
    line.myAlarm = integerOr0(field(u"MY_ALARM"_s));
    line.allTime = field(u"ALL_TIME"_s).toInt64().value_or(0);
    line.endTime = field(u"END_TIME"_s).toDouble();
    line.due = field(u"TPS"_s).toDouble();
    line.printSection = integerOr0(field(u"PRINT_SECTION"_s));
    return line;
}

QList<int> QueryModel::rowsTurningAt(double now, qint64 slackMs) const
{
    const int due = m_query && m_query->isOpen() ? m_query->fieldIndex(u"TPS"_s) : -1;
    QList<int> rows;
    for (int row = 0; due >= 0 && row < m_query->recordCount(); ++row)
        if (const std::optional<double> at = m_query->row(row)[size_t(due)].toDouble()) {
            // Just turned: a whole minute to the next turn, less the time since; about to turn.
            const qint64 ms = TimingColours::msToNextTurn(*at, now);
            if (ms > 60'000 - slackMs || ms <= slackMs)
                rows << row;
        }
    return rows;
}

std::optional<qint64> QueryModel::msToNextTurn(const TimingColours::ServerNow& now) const
{
    const int due = m_query && m_query->isOpen() ? m_query->fieldIndex(u"TPS"_s) : -1;
    std::optional<double> t;
    std::optional<qint64> next;
    for (int row = 0; due >= 0 && row < m_query->recordCount(); ++row) {
        const std::optional<double> at = m_query->row(row)[size_t(due)].toDouble();
        if (!at)
            continue;
        if (!t && !(t = now()))
            return std::nullopt;
        const qint64 ms = TimingColours::msToNextTurn(*at, *t);
        next = next ? std::min(*next, ms) : ms;
    }
    return next;
}
