#pragma once
// The polling cycle's statements: the hot queue, the probe for new lines and the updates that
// mark them shown. Keys and bounds are bound; the served sections are part of the text.

#include "BoardSql.h"
#include "PosStatement.h"

#include <QList>
#include <QMap>

namespace PollingSql {
// The first `rows` rows of the hot queue: what its grid shows, and more as the cook scrolls.
QStringList hotQueue(const ServedSections& served, int rows);
// The new lines of the open shifts (KOD), a row for each open shift (KOD null, SK its key), and
// last a row (KOD and SK null) that changes whenever a read of the board might: N, V, W, DUE.
QStringList newLines(const ServedSections& served);
// The new lines of every shift, open or closed.
QStringList everyShiftNewLines(const ServedSections& served);
// The highest key of each range of line keys: a range is a block of RangeWidth keys that holds
// lines, found through the primary key by bisection, so it reads a few records per range.
constexpr qint64 RangeWidth = 1000000;
QStringList rangeTops();
// The lines whose keys lie outside the ranges as the tops (range -> its highest key) knew them,
// through the primary key: KOD, and NEW 1 for a new line of the served sections.
PosStatement linesAbove(const ServedSections& served, const QMap<qint64, qint64>& tops);
// The new lines of these shifts, through their orders.
PosStatement newLinesOfShifts(const ServedSections& served, const QList<qint64>& shifts);
// Marks shown the lines :K1 to :K<MarkKeys> (null for none) that are still new; the same text
// serves every run, prepared once.
constexpr int MarkKeys = 50;
QStringList markShown(const ServedSections& served);
// The same with up to MarkKeys keys bound.
PosStatement markShown(const ServedSections& served, const QList<qint64>& keys);
// Marks shown the line :K if it is still new.
QStringList markOneShown(const ServedSections& served);
}
