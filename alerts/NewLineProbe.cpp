#include "NewLineProbe.h"

#include "PollingSql.h"
#include "Query.h"

#include <algorithm>

namespace {
void run(Query& query, const QStringList& sql)
{
    query.close();
    query.setSql(sql);
    query.prepare();
    query.open();
}

void addKeys(const Query& query, QList<qint64>& keys)
{
    for (int i = 0; i < query.recordCount(); ++i)
        keys << query.row(i).front().toInt64().value_or(0);
}

qint64 rangeOf(qint64 key)
{
    return key / PollingSql::RangeWidth - (key % PollingSql::RangeWidth < 0 ? 1 : 0);
}
}

QMap<qint64, qint64> NewLineProbe::rangeTops(Query& query, const QMap<qint64, qint64>& known)
{
    run(query, PollingSql::rangeTops(known));
    QMap<qint64, qint64> tops;
    for (int i = 0; i < query.recordCount(); ++i) {
        const qint64 top = query.row(i).front().toInt64().value_or(0);
        tops.insert(rangeOf(top), top);
    }
    return tops;
}

QList<qint64> NewLineProbe::find(Query& query, Query& wide, const ServedSections& served, const QDateTime& now)
{
    run(query, PollingSql::newLines(served));
    QList<qint64> lines, shifts;
    for (int i = 0; i < query.recordCount(); ++i) {
        const Query::Row& row = query.row(i);
        if (row[0].isNull())
            shifts << row[1].toInt64().value_or(0);
        else
            lines << row[0].toInt64().value_or(0);
    }
    std::sort(shifts.begin(), shifts.end());

    // A clock set back counts as time gone by.
    const bool everyShift = !m_openShifts || m_served != served;
    const bool newKeys = !everyShift
                         && (*m_openShifts != shifts || !m_lookedAt.isValid() || now < m_lookedAt
                             || m_lookedAt.secsTo(now) >= EveryShiftMinutes * 60);
    m_look = everyShift ? Look::EveryShift : newKeys ? Look::NewKeys : Look::OpenShifts;
    if (m_look != Look::OpenShifts) {
        // The tops first: a line committed after them is searched at the next look.
        const QMap<qint64, qint64> tops = rangeTops(wide, everyShift ? QMap<qint64, qint64>() : m_tops);
        if (everyShift) {
            run(wide, PollingSql::Reference::newLines(served));
            lines.clear();
            addKeys(wide, lines);
            m_before = tops;
        } else {
            QList<std::pair<qint64, qint64>> above;
            for (auto top = tops.cbegin(); top != tops.cend(); ++top) {
                // A range new since then is searched from its start.
                const qint64 from = m_before.value(top.key(), top.key() * PollingSql::RangeWidth - 1);
                if (*top > from)
                    above << std::pair{from, *top};
            }
            if (!above.isEmpty()) {
                run(wide, PollingSql::newLinesBetween(served, above));
                addKeys(wide, lines);
            }
            QList<qint64> closed;
            std::set_difference(m_openShifts->cbegin(), m_openShifts->cend(), shifts.cbegin(), shifts.cend(),
                                std::back_inserter(closed));
            if (!closed.isEmpty()) {
                run(wide, PollingSql::newLinesOfShifts(served, closed));
                addKeys(wide, lines);
            }
            std::sort(lines.begin(), lines.end());
            lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
            m_before = m_tops;
        }
        wide.close();
        m_tops = tops;
        m_lookedAt = now;
    }
    // Kept only once every look has worked, so a failed run is looked at again in full.
    m_openShifts = shifts;
    m_served = served;
    return lines;
}
