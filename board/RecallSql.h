#pragma once
// The statements that take a "ready" back. Each sets back to shown only lines still ready: a
// line that another monitor or the point of sale has changed meanwhile is left as it is.

#include "BoardSql.h"

#include <QList>

namespace RecallSql {
// The order's lines in the served sections with their state, and the order's number.
QStringList servedLines(qint64 orderKey, const ServedSections& served);
// One ready line back to shown.
QStringList dishBack(qint64 lineKey);
// The order's ready lines in the served sections back to shown.
QStringList orderBack(qint64 orderKey, const ServedSections& served);
// The given lines, those still ready, back to shown.
QStringList linesBack(const QList<qint64>& lineKeys);
}
