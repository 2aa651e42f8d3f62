#pragma once
// Finds the new lines of the served sections: the lines the probe of every shift finds, at the
// cost of the open shifts alone. Every run goes from the open shifts to their orders to their
// lines. Every shift is searched only at the first run of a monitor that knows no bounds from
// an earlier run, and when the served sections change; a start that resumes the bounds its
// last run kept, and a run after a lost attachment, look above the bounds and through the
// shifts that closed meanwhile, as every ten minutes. The other new lines outside the open
// shifts are found without reading the history: a shift that has closed since the last run is searched through its
// orders, and a line written into a closed shift is a line with a key the last looks did not
// know. Keys come from one sequence per terminal or per database, each its own range, so a
// bound on the highest key seen holds per range: every ten minutes (and at a shift change) the
// lines above the highest key of each range as it was two looks ago are searched, through the
// primary key; two looks, so that a line whose key was given out before a look and committed
// after it is still found.

#include "BoardSql.h"
#include "DbValue.h"
#include "Query.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

class Query;

class NewLineProbe {
public:
    static constexpr int EveryShiftMinutes = 10;

    // Runs on the queries given, replacing their texts: the look through the open shifts on
    // `query`, every poll, and the searches beyond them on `wide`, so that each keeps its
    // prepared statement. The keys of the new lines. Throws DbError.
    QList<qint64> find(Query& query, Query& wide, const ServedSections& served, const QDateTime& now);
    // The search through every shift is made elsewhere (on a thread of its own, see
    // EveryShiftSearch) and handed in by arrived(): until it comes, a run that needs it looks
    // through the open shifts alone, and searchWanted() names the sections to search.
    void setSearchElsewhere(bool elsewhere) { m_elsewhere = elsewhere; }
    std::optional<ServedSections> searchWanted() const { return m_awaiting; }
    // What a search through every shift found, in one snapshot of the database.
    struct Everything {
        QMap<qint64, qint64> tops;
        QList<qint64> lines, openShifts;
    };
    // Runs the search on `wide`'s attachment, whatever its thread. Throws DbError.
    static Everything searchEveryShift(Query& wide, const ServedSections& served);
    // The search for these sections is over: the next run announces what it found (less what the
    // runs meanwhile found) and looks above its tops and through the shifts closed since, as a
    // resumed start does. A search for sections no longer served is dropped.
    void arrived(const ServedSections& served, const Everything& found);

    // What changed since the last run is not known (the attachment was lost): the next run
    // looks beyond the open shifts, above the bounds where there are any, else through every
    // shift.
    void forget();

    // Where the looks beyond the open shifts have reached: the ranges' tops of the last two looks
    // and the open shifts then, for the sections served. A start resumes from them.
    struct Bounds {
        QMap<qint64, qint64> tops, before;
        QList<qint64> openShifts;
        ServedSections served{};
        bool operator==(const Bounds&) const = default;
    };
    // None until a look beyond the open shifts has worked.
    std::optional<Bounds> bounds() const;
    // The next run looks above these bounds, unless its sections differ.
    void resume(const Bounds& bounds);
    static QString toText(const Bounds& bounds);
    static std::optional<Bounds> fromText(const QString& text);

    enum class Look { OpenShifts, NewKeys, EveryShift };
    // How far the last run looked.
    Look lastLook() const { return m_look; }
    // What the board's reads depend on, as the last run found it (see PollingSql::newLines),
    // with the open shifts it found: equal from run to run when nothing the board shows changed.
    struct Signature {
        std::vector<DbValue> values;
        QList<qint64> openShifts;
        ServedSections served{};
        bool operator==(const Signature&) const = default;
    };
    Signature signature() const { return {m_signature, m_openShifts.value_or(QList<qint64>()), m_served}; }
    // The server's time as the last run's look read it; invalid when that failed.
    QDateTime serverNow() const { return m_serverNow; }
    // The last look at the open shifts' new lines: their rows by key, the server's time at
    // NowColumn, their details (LineDetailsSql's) after it.
    static constexpr size_t NowColumn = 7;
    static constexpr size_t DetailsColumn = NowColumn + 1;
    const std::map<qint64, Query::Row>& details() const { return m_details; }

private:
    static QMap<qint64, qint64> rangeTops(Query& query);

    std::optional<QList<qint64>> m_openShifts; // of the last run, sorted
    ServedSections m_served{};
    QDateTime m_lookedAt;          // of the last look beyond the open shifts
    QMap<qint64, qint64> m_tops;   // range -> its highest key, at the last look
    QMap<qint64, qint64> m_before; // the same at the look before
    Look m_look = Look::OpenShifts;
    bool m_bounded = false;  // m_tops and m_before come from a look that worked
    bool m_resuming = false; // the next run looks above them
    std::vector<DbValue> m_signature;
    bool m_elsewhere = false;
    std::optional<ServedSections> m_awaiting; // the sections of the search awaited
    QList<qint64> m_meanwhile;                // found by the runs while it is awaited
    QList<qint64> m_arrived;                  // found by it, for the next run
    QDateTime m_serverNow;
    std::map<qint64, Query::Row> m_details;
    std::optional<ServedSections> m_textServed;
    QStringList m_text;
};
