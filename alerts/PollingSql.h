#pragma once
// The polling cycle's statements, rebuilt from the served sections for every run: the hot queue,
// the probe for new lines and the update that marks them shown.

#include "BoardSql.h"

namespace PollingSql {
QStringList hotQueue(const ServedSections& served);
QStringList newLines(const ServedSections& served);
QStringList markShown(const ServedSections& served);

// The hot queue as first written: the rows the one above must give, on any database.
namespace Reference {
QStringList hotQueue(const ServedSections& served);
}
}
