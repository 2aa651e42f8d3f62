#pragma once
// The journal's times: local wall-clock time as text that sorts as it reads and that SQLite's
// date functions take, to the millisecond.

#include <QDateTime>

namespace JournalTime {
QString text(const QDateTime& t);
// Also takes the server's "YYYY-MM-DD HH:MM:SS.ffff"; null for anything else.
QDateTime parse(const QString& text);
}
