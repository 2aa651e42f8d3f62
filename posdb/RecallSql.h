#pragma once
// What the order window reads to know whether an order is ready and which lines a press would
// set ready or take back.

#include "BoardSql.h"

namespace RecallSql {
// The lines of the order :K in the served sections: key, state, the order's number, dish.
QStringList servedLines(const ServedSections& served);
}
