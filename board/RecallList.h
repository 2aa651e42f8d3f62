#pragma once
// The recall list: the presses of this monitor that set dishes ready in the last half hour,
// newest first, read from the journal (so it outlives a restart), and the take-back of one of
// them: exactly its lines, each to the state it had before, where it is still ready.

#include "Journal.h"
#include "ReadyRecord.h"

#include <QList>
#include <QStringList>

class Form_Base;

namespace RecallList {
constexpr int Minutes = 30;

// The entries, newest first; each with its lines not taken back since.
QList<Journal::Press> entries(const QDateTime& now);
// Takes the entry back on the server, each line still ready to its state before the press, as
// the strip's "Отменить" does, and records that in the journal. Returns the lines, for the
// board's record of presses. Throws DbError.
QList<ReadyRecord::Line> takeBack(Form_Base& base, const Journal::Press& entry);

// The board's record of presses as the journal has it, so that a take-back after a restart
// returns lines to their states before, not to "shown": the presses of the last day, at most
// as many as the record keeps.
void seed(ReadyRecord& record, Journal& journal, const QDateTime& now);

// The entry's lines as the board's record of presses keeps them.
QList<ReadyRecord::Line> recordLines(const Journal::Press& entry);
// "Борщ ×2, Чай" for the list.
QString dishes(const Journal::Press& entry);
}
