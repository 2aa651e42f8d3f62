#pragma once
// What the order window reads to know whether an order is ready and which lines a press would
// set ready or take back.

#include "BoardSql.h"

namespace RecallSql {
// The order's lines in the served sections: key, state, the order's number, dish.
QStringList servedLines(qint64 orderKey, const ServedSections& served);
}
