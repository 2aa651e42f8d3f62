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
}

QList<qint64> NewLineProbe::find(Query& query, const ServedSections& served, const QDateTime& now)
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
    m_lookedEverywhere = !m_openShifts || *m_openShifts != shifts || m_served != served
                         || !m_everywhereAt.isValid() || now < m_everywhereAt
                         || m_everywhereAt.secsTo(now) >= EveryShiftMinutes * 60;
    if (m_lookedEverywhere) {
        run(query, PollingSql::Reference::newLines(served));
        lines.clear();
        for (int i = 0; i < query.recordCount(); ++i)
            lines << query.row(i).front().toInt64().value_or(0);
        m_everywhereAt = now;
    }
    // Kept only once every look has worked, so a failed run is looked at again in full.
    m_openShifts = shifts;
    m_served = served;
    return lines;
}
