#pragma once
// The recall list: the presses of this monitor that set dishes ready in the last half hour,
// newest first, read from the journal (so it outlives a restart). Taking one back is the press
// service's.

#include "Journal.h"

#include <QList>
#include <QString>

namespace RecallList {
constexpr int Minutes = 30;

// The entries, newest first; each with its lines not taken back since.
QList<Journal::Press> entries(Journal& journal, const QDateTime& now);
// "Борщ ×2, Чай" for the list.
QString dishes(const Journal::Press& entry);
}
