#pragma once
// The polling cycle's statements, rebuilt from the served sections for every run: the hot queue,
// the probe for new lines and the updates that mark them shown.

#include "BoardSql.h"

#include <QList>
#include <QMap>

namespace PollingSql {
// The first `rows` rows of the hot queue: what its grid shows, and more as the cook scrolls.
QStringList hotQueue(const ServedSections& served, int rows);
// The new lines of the open shifts (KOD), and a row for each open shift (KOD null, SK its key).
QStringList newLines(const ServedSections& served);
// The highest key of each range of line keys: a range is a block of RangeWidth keys that holds
// lines, found through the primary key by bisection, so it reads a few records per range.
constexpr qint64 RangeWidth = 1000000;
QStringList rangeTops();
// The lines whose keys lie outside the ranges as the tops (range -> its highest key) knew them,
// through the primary key: KOD, and NEW 1 for a new line of the served sections.
QStringList linesAbove(const ServedSections& served, const QMap<qint64, qint64>& tops);
// The new lines of these shifts, through their orders.
QStringList newLinesOfShifts(const ServedSections& served, const QList<qint64>& shifts);
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
