#pragma once
// Inside the journal only: its prepared statements and the columns of a line as it keeps them.

#include "Journal.h"
#include "JournalTime.h"

#include <sqlite3.h>

namespace JournalSql {
// A prepared statement that finalizes itself.
struct Statement {
    Statement(sqlite3* db, const char* sql)
    {
        code = sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        prepared = code == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(s); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return prepared; }
    void bind(int i, qint64 v) { sqlite3_bind_int64(s, i, v); }
    void bind(int i, double v) { sqlite3_bind_double(s, i, v); }
    void bind(int i, const QString& v)
    {
        const QByteArray utf8 = v.toUtf8();
        sqlite3_bind_text(s, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, const QDateTime& v)
    {
        if (v.isValid())
            bind(i, JournalTime::toStored(v));
        else
            sqlite3_bind_null(s, i);
    }
    // One step of a statement without rows; false with the code kept on failure.
    bool run()
    {
        code = sqlite3_step(s);
        sqlite3_reset(s);
        return code == SQLITE_DONE;
    }
    sqlite3_stmt* s = nullptr;
    int code = SQLITE_OK;
    bool prepared = false;
};

inline QString textColumn(sqlite3_stmt* s, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)));
}

inline QDateTime timeColumn(sqlite3_stmt* s, int i)
{
    return sqlite3_column_type(s, i) == SQLITE_NULL ? QDateTime() : JournalTime::fromStored(sqlite3_column_int64(s, i));
}

inline const QString LineColumns = QStringLiteral("line_key, order_key, order_number, waiter, dish, section, quantity, start_time, due");
// The announcements are the bulk of the journal: they go without the waiter, whom the presses
// keep for the recall list, and without an index on their time (the daily pruning and the
// export read them whole).
inline const QString AnnouncedColumns = QStringLiteral("line_key, order_key, order_number, dish, section, quantity, start_time, due");

inline void bindLine(Statement& st, int first, const Journal::Line& line, bool withWaiter = true)
{
    st.bind(first++, line.line);
    st.bind(first++, line.order);
    st.bind(first++, line.number);
    if (withWaiter)
        st.bind(first++, line.waiter);
    st.bind(first++, line.dish);
    st.bind(first++, qint64(line.section));
    st.bind(first++, line.quantity);
    st.bind(first++, line.start);
    st.bind(first, line.due);
}
}
