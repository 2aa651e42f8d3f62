#pragma once
// The polling cycle's statements, rebuilt from the served sections for every run: the hot queue,
// the probe for new lines and the updates that mark them shown.

#include "BoardSql.h"

namespace PollingSql {
QStringList hotQueue(const ServedSections& served);
// The new lines of the open shifts (KOD), and a row for each open shift (KOD null, SK its key).
QStringList newLines(const ServedSections& served);
// Marks shown the lines of these keys that are still new, at most MarkKeys keys a statement.
QStringList markShown(const ServedSections& served, const QList<qint64>& keys);
constexpr int MarkKeys = 1000; // the server takes at most 1500 values in a list
// Marks shown the line :K if it is still new.
QStringList markOneShown(const ServedSections& served);

// The statements as first written: the rows the ones above must give, on any database.
namespace Reference {
QStringList hotQueue(const ServedSections& served);
// The new lines of every shift.
QStringList newLines(const ServedSections& served);
}
}
