#include "Journal.h"

#include "Clock.h"
#include "JournalStatement.h"
#include "JournalTime.h"
#include "Log.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace JournalSql;

namespace {
const char* const Schema = R"(
CREATE TABLE IF NOT EXISTS program(id INTEGER PRIMARY KEY, at INTEGER NOT NULL, event TEXT NOT NULL, detail TEXT);
CREATE TABLE IF NOT EXISTS announced(id INTEGER PRIMARY KEY, at INTEGER NOT NULL, line_key INTEGER, order_key INTEGER,
    order_number TEXT, dish TEXT, section INTEGER, quantity REAL, start_time INTEGER, due INTEGER);
CREATE TABLE IF NOT EXISTS press(id INTEGER PRIMARY KEY, at INTEGER NOT NULL, kind TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS press_line(press_id INTEGER NOT NULL, line_key INTEGER, order_key INTEGER,
    order_number TEXT, waiter TEXT, dish TEXT, section INTEGER, quantity REAL, start_time INTEGER, due INTEGER,
    state_before INTEGER, back_press INTEGER);
CREATE INDEX IF NOT EXISTS program_at ON program(at);
CREATE INDEX IF NOT EXISTS press_at ON press(at);
CREATE INDEX IF NOT EXISTS press_line_press ON press_line(press_id);
CREATE INDEX IF NOT EXISTS press_line_key ON press_line(line_key, back_press);
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT);
)";

bool damaged(int code)
{
    code &= 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

} // namespace

Journal::~Journal()
{
    close();
}

QString Journal::kindName(Kind kind)
{
    switch (kind) {
    case Kind::DishReady: return u"dish-ready"_s;
    case Kind::OrderReady: return u"order-ready"_s;
    case Kind::DishBack: return u"dish-back"_s;
    case Kind::OrderBack: return u"order-back"_s;
    case Kind::Undo: return u"undo"_s;
    case Kind::Recall: return u"recall"_s;
    }
    return {};
}

QDateTime Journal::now() const
{
    return m_clock ? m_clock->now() : QDateTime::currentDateTime();
}

bool Journal::open(const QString& folder, const Clock* clock)
{
    close();
    m_folder = folder;
    m_clock = clock;
    m_path = QDir(folder).filePath(FileName);
    m_failing = false;
    m_prunedOn = {};
    if (!openFile())
        return false;
    pruneIfDue();
    return isOpen();
}

bool Journal::openFile()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        int code = sqlite3_open_v2(QFile::encodeName(m_path).constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (code == SQLITE_OK) {
            sqlite3_busy_timeout(m_db, 200);
            sqlite3_extended_result_codes(m_db, 1);
            // WAL with NORMAL sync: a committed event is in the log file before the call
            // returns, so a killed program loses none; only a power cut may lose the last ones.
            code = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
            if (code == SQLITE_OK)
                code = sqlite3_exec(m_db, QByteArray("PRAGMA cache_size=-" + QByteArray::number(CacheKiB)).constData(),
                                    nullptr, nullptr, nullptr);
        }
        bool sound = code == SQLITE_OK;
        QString error;
        if (sound) {
            Statement check(m_db, "PRAGMA quick_check");
            code = check.code;
            const int step = check.ok() ? sqlite3_step(check.s) : code;
            sound = step == SQLITE_ROW && textColumn(check.s, 0) == u"ok"_s;
            if (step == SQLITE_ROW && !sound) {
                code = SQLITE_CORRUPT;
                error = textColumn(check.s, 0);
            } else if (!sound)
                code = sqlite3_extended_errcode(m_db);
        }
        if (sound && createSchema()) {
            // It names waiters and dishes: its user's alone, also when it came with a copied folder.
            for (const char* suffix : {"", "-wal", "-shm"})
                if (QFile::exists(m_path + QLatin1String(suffix)))
                    QFile::setPermissions(m_path + QLatin1String(suffix), QFile::ReadOwner | QFile::WriteOwner);
            setSizeLimit(m_sizeLimit);
            return true;
        }
        if (sound)
            code = sqlite3_extended_errcode(m_db);
        if (error.isEmpty())
            error = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code));
        if (damaged(code) && attempt == 0 && QFile::exists(m_path)) {
            moveAside(error);
            if (QFile::exists(m_path))
                return false;
            continue;
        }
        qCWarning(lcMonitor).noquote() << "journal: cannot open" << m_path << "(" + error + "), the monitor works without it";
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    return false;
}

bool Journal::createSchema()
{
    return exec(Schema);
}

void Journal::setSizeLimit(qint64 bytes)
{
    m_sizeLimit = bytes;
    if (!m_db)
        return;
    Statement pageSize(m_db, "PRAGMA page_size");
    const qint64 page = pageSize.ok() && sqlite3_step(pageSize.s) == SQLITE_ROW ? sqlite3_column_int64(pageSize.s, 0) : 4096;
    exec(QByteArray("PRAGMA max_page_count=" + QByteArray::number(qMax<qint64>(1, bytes / page))).constData());
}

void Journal::close()
{
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    m_clock = nullptr;
}

void Journal::moveAside(const QString& why)
{
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    const QString aside = m_path + u".broken-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    bool moved = QFile::rename(m_path, aside);
    for (const QString& suffix : {u"-wal"_s, u"-shm"_s})
        if (QFile::exists(m_path + suffix) && !QFile::rename(m_path + suffix, aside + suffix))
            QFile::remove(m_path + suffix);
    if (moved)
        qCWarning(lcMonitor).noquote() << "journal: damaged (" + why + "), moved aside to" << aside << "and begun anew";
    else
        qCWarning(lcMonitor).noquote() << "journal: damaged (" + why + ") and cannot be moved aside; the monitor works without it";
}

bool Journal::exec(const char* sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void Journal::failed(const char* what, int code)
{
    const QString error = QString::fromUtf8(sqlite3_errstr(code));
    if (damaged(code)) {
        moveAside(error);
        openFile();
        return;
    }
    if (!m_failing)
        qCWarning(lcMonitor).noquote() << "journal: cannot write" << what << "(" + error + "); the monitor goes on without";
    m_failing = true;
}

bool Journal::write(const char* what, const std::function<bool()>& statements)
{
    if (!m_db)
        return false;
    pruneIfDue();
    if (!m_db)
        return false;
    if (!exec("BEGIN IMMEDIATE")) {
        failed(what, sqlite3_extended_errcode(m_db));
        return false;
    }
    if (!statements() || !exec("COMMIT")) {
        const int code = sqlite3_extended_errcode(m_db);
        exec("ROLLBACK");
        failed(what, code);
        return false;
    }
    if (m_failing)
        qCInfo(lcMonitor) << "journal: written again";
    m_failing = false;
    return true;
}

void Journal::started(const QString& version)
{
    write("the start", [&] {
        Statement st(m_db, "INSERT INTO program(at, event, detail) VALUES (?, 'start', ?)");
        st.bind(1, now());
        st.bind(2, version);
        return st.ok() && st.run();
    });
}

void Journal::ended(int status)
{
    write("the end", [&] {
        Statement st(m_db, "INSERT INTO program(at, event, detail) VALUES (?, 'end', ?)");
        st.bind(1, now());
        st.bind(2, QString::number(status));
        return st.ok() && st.run();
    });
}

void Journal::announced(const QList<Line>& lines)
{
    if (lines.isEmpty())
        return;
    write("an announcement", [&] {
        Statement st(m_db, ("INSERT INTO announced(at, " + AnnouncedColumns + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)").toUtf8());
        const QDateTime at = now();
        for (const Line& line : lines) {
            st.bind(1, at);
            bindLine(st, 2, line, false);
            if (!st.ok() || !st.run())
                return false;
        }
        return true;
    });
}

qint64 Journal::action(Kind kind, const QList<Line>& lines)
{
    if (lines.isEmpty())
        return 0;
    qint64 id = 0;
    write("a cook's press", [&] {
        Statement press(m_db, "INSERT INTO press(at, kind) VALUES (?, ?)");
        press.bind(1, now());
        press.bind(2, kindName(kind));
        if (!press.ok() || !press.run())
            return false;
        id = sqlite3_last_insert_rowid(m_db);
        Statement line(m_db, ("INSERT INTO press_line(press_id, state_before, " + LineColumns
                              + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)").toUtf8());
        // A line taken back ends its newest "ready" not yet ended.
        Statement back(m_db, "UPDATE press_line SET back_press = ?1 WHERE rowid = (SELECT press_line.rowid"
                             " FROM press_line JOIN press ON press.id = press_line.press_id"
                             " WHERE press_line.line_key = ?2 AND press_line.back_press IS NULL"
                             " AND press.kind IN ('dish-ready', 'order-ready', 'ready-elsewhere') AND press.id < ?1"
                             " ORDER BY press.id DESC LIMIT 1)");
        for (const Line& l : lines) {
            line.bind(1, id);
            line.bind(2, qint64(l.stateBefore));
            bindLine(line, 3, l);
            if (!line.ok() || !line.run())
                return false;
            if (!setsReady(kind)) {
                back.bind(1, id);
                back.bind(2, l.line);
                if (!back.ok() || !back.run())
                    return false;
            }
        }
        return true;
    });
    return m_failing ? 0 : id;
}

QList<Journal::Press> Journal::readyPresses(const QDateTime& since)
{
    QList<Press> presses;
    if (!m_db)
        return presses;
    Statement st(m_db, ("SELECT press.id, press.at, press.kind, state_before, " + LineColumns
                        + " FROM press JOIN press_line ON press_line.press_id = press.id"
                          " WHERE press.at >= ? AND press.kind IN ('dish-ready', 'order-ready')"
                          " AND press_line.back_press IS NULL ORDER BY press.id DESC, press_line.rowid").toUtf8());
    st.bind(1, since);
    while (st.ok() && sqlite3_step(st.s) == SQLITE_ROW) {
        const qint64 id = sqlite3_column_int64(st.s, 0);
        if (presses.isEmpty() || presses.last().id != id)
            presses.append({id, timeColumn(st.s, 1),
                            textColumn(st.s, 2) == u"order-ready"_s ? Kind::OrderReady : Kind::DishReady, {}});
        Line line;
        line.stateBefore = sqlite3_column_int(st.s, 3);
        line.line = sqlite3_column_int64(st.s, 4);
        line.order = sqlite3_column_int64(st.s, 5);
        line.number = textColumn(st.s, 6);
        line.waiter = textColumn(st.s, 7);
        line.dish = textColumn(st.s, 8);
        line.section = sqlite3_column_int(st.s, 9);
        line.quantity = sqlite3_column_double(st.s, 10);
        line.start = timeColumn(st.s, 11);
        line.due = timeColumn(st.s, 12);
        presses.last().lines << line;
    }
    return presses;
}

void Journal::pruneIfDue()
{
    if (m_db && m_prunedOn != now().date())
        prune();
}

QString Journal::note(const QString& key) const
{
    if (!m_db)
        return {};
    Statement st(m_db, "SELECT value FROM meta WHERE key = ?1");
    st.bind(1, u"note:"_s + key);
    return st.ok() && sqlite3_step(st.s) == SQLITE_ROW ? textColumn(st.s, 0) : QString();
}

void Journal::setNote(const QString& key, const QString& value)
{
    if (!m_db)
        return;
    Statement st(m_db, "INSERT OR REPLACE INTO meta(key, value) VALUES (?1, ?2)");
    st.bind(1, u"note:"_s + key);
    st.bind(2, value);
    if (!st.ok() || !st.run())
        failed("a note", sqlite3_extended_errcode(m_db));
}

void Journal::prune()
{
    if (!m_db)
        return;
    const QDate today = now().date();
    m_prunedOn = today;
    // The day's first event prunes; a restart the same day finds the note and does not again.
    {
        Statement last(m_db, "SELECT value FROM meta WHERE key = 'pruned'");
        if (last.ok() && sqlite3_step(last.s) == SQLITE_ROW && textColumn(last.s, 0) == today.toString(Qt::ISODate))
            return;
    }
    const QDateTime cutoff(today.addDays(-KeepDays), QTime(0, 0));
    const bool done = exec("BEGIN IMMEDIATE") && [&] {
        for (const char* sql : {"DELETE FROM press_line WHERE press_id IN (SELECT id FROM press WHERE at < ?1)",
                                "DELETE FROM press WHERE at < ?1", "DELETE FROM announced WHERE at < ?1",
                                "DELETE FROM program WHERE at < ?1",
                                "INSERT OR REPLACE INTO meta(key, value) VALUES ('pruned', ?2)"}) {
            Statement st(m_db, sql);
            st.bind(1, cutoff);
            st.bind(2, today.toString(Qt::ISODate));
            if (!st.ok() || !st.run())
                return false;
        }
        return true;
    }() && exec("COMMIT");
    if (!done) {
        const int code = sqlite3_extended_errcode(m_db);
        exec("ROLLBACK");
        failed("the pruning", code);
    }
}
