#pragma once
// The journal's times: stored as milliseconds since the epoch (six bytes a time rather than
// twenty-three as text), shown and exported as local wall-clock time.

#include <QDateTime>

namespace JournalTime {
inline qint64 toStored(const QDateTime& t) { return t.toMSecsSinceEpoch(); }
inline QDateTime fromStored(qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms); }
// The server's timestamps as text, "YYYY-MM-DD HH:MM:SS.ffff"; null for anything else.
QDateTime parse(const QString& text);
}
