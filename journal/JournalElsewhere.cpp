#include "Journal.h"

#include "JournalStatement.h"

using namespace JournalSql;
using namespace Qt::StringLiterals;

// What the polling sees of the whole kitchen: lines another monitor (or the point of sale) set
// ready or took back, and the end of the span the last shift's summary covered.

namespace {
// The newest "ready" of the line, of this monitor's presses or seen elsewhere, not taken back.
const char* const OpenReady = "SELECT press_line.rowid, press.kind FROM press_line JOIN press ON press.id = press_line.press_id"
                              " WHERE press_line.line_key = ? AND press_line.back_press IS NULL"
                              " AND press.kind IN ('dish-ready', 'order-ready', 'ready-elsewhere')"
                              " ORDER BY press.id DESC LIMIT 1";
}

int Journal::readyElsewhere(const QList<Line>& lines, const QDateTime& at)
{
    if (!m_db || lines.isEmpty())
        return 0;
    QList<Line> elsewhere;
    {
        Statement open(m_db, OpenReady);
        for (const Line& l : lines) {
            open.bind(1, l.line);
            const bool own = open.ok() && sqlite3_step(open.s) == SQLITE_ROW;
            sqlite3_reset(open.s);
            if (!own)
                elsewhere << l;
        }
    }
    if (elsewhere.isEmpty())
        return 0;
    const bool done = write("a dish ready elsewhere", [&] {
        Statement press(m_db, "INSERT INTO press(at, kind) VALUES (?, ?)");
        press.bind(1, at);
        press.bind(2, ElsewhereKind);
        if (!press.ok() || !press.run())
            return false;
        const qint64 id = sqlite3_last_insert_rowid(m_db);
        Statement line(m_db, ("INSERT INTO press_line(press_id, state_before, " + LineColumns
                              + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)").toUtf8());
        for (const Line& l : elsewhere) {
            line.bind(1, id);
            line.bind(2, qint64(l.stateBefore));
            bindLine(line, 3, l);
            if (!line.ok() || !line.run())
                return false;
        }
        return true;
    });
    return done ? int(elsewhere.size()) : 0;
}

int Journal::backElsewhere(const QList<qint64>& keys, const QDateTime& at)
{
    if (!m_db || keys.isEmpty())
        return 0;
    QList<qint64> ended; // press_line rowids
    {
        Statement open(m_db, OpenReady);
        for (qint64 key : keys) {
            open.bind(1, key);
            if (open.ok() && sqlite3_step(open.s) == SQLITE_ROW)
                ended << sqlite3_column_int64(open.s, 0);
            sqlite3_reset(open.s);
        }
    }
    if (ended.isEmpty())
        return 0;
    const bool done = write("a dish taken back elsewhere", [&] {
        Statement press(m_db, "INSERT INTO press(at, kind) VALUES (?, ?)");
        press.bind(1, at);
        press.bind(2, BackElsewhereKind);
        if (!press.ok() || !press.run())
            return false;
        const qint64 id = sqlite3_last_insert_rowid(m_db);
        // The take-back's own line: a copy of the ready line it ends, in the state it had.
        Statement copy(m_db, ("INSERT INTO press_line(press_id, state_before, " + LineColumns + ") SELECT ?, 3, "
                              + LineColumns + " FROM press_line WHERE rowid = ?").toUtf8());
        Statement end(m_db, "UPDATE press_line SET back_press = ? WHERE rowid = ?");
        for (qint64 rowid : ended) {
            copy.bind(1, id);
            copy.bind(2, rowid);
            end.bind(1, id);
            end.bind(2, rowid);
            if (!copy.ok() || !copy.run() || !end.ok() || !end.run())
                return false;
        }
        return true;
    });
    return done ? int(ended.size()) : 0;
}

QDateTime Journal::summarisedUntil()
{
    if (!m_db)
        return {};
    Statement st(m_db, "SELECT value FROM meta WHERE key = 'summarised'");
    if (!st.ok() || sqlite3_step(st.s) != SQLITE_ROW)
        return {};
    return JournalTime::fromStored(sqlite3_column_int64(st.s, 0));
}

void Journal::setSummarisedUntil(const QDateTime& at)
{
    write("the shift's summary", [&] {
        Statement st(m_db, "INSERT OR REPLACE INTO meta(key, value) VALUES ('summarised', ?)");
        st.bind(1, at);
        return st.ok() && st.run();
    });
}
