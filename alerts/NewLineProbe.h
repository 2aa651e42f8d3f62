#pragma once
// Finds the new lines of the served sections: the lines the probe of every shift finds, at the
// cost of the open shifts alone. Every run goes from the open shifts to their orders to their
// lines. The other lines still new (a shift closed before its last lines were marked, or while
// no monitor ran) are looked for in every shift only when there can be such lines that the
// last look missed: at the first run, after a lost attachment, when the open shifts or the
// served sections have changed, and every ten minutes for lines written into a closed shift.

#include "BoardSql.h"

#include <QDateTime>
#include <QList>
#include <optional>

class Query;

class NewLineProbe {
public:
    static constexpr int EveryShiftMinutes = 10;

    // Runs on the query given, replacing its text; the keys of the new lines. Throws DbError.
    QList<qint64> find(Query& query, const ServedSections& served, const QDateTime& now);
    // The next run looks at every shift.
    void forget() { m_openShifts.reset(); }
    // Whether the last run looked at every shift.
    bool lookedEverywhere() const { return m_lookedEverywhere; }

private:
    std::optional<QList<qint64>> m_openShifts; // of the last run, sorted
    ServedSections m_served{};
    QDateTime m_everywhereAt;
    bool m_lookedEverywhere = false;
};
