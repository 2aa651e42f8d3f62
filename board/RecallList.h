#pragma once
// The recall list: the presses of this monitor that set dishes ready in the last half hour,
// newest first, read from the journal (so it outlives a restart), and the take-back of one of
// them: exactly its lines, each to the state it had before, where it is still ready.

#include "Journal.h"

#include <QList>
#include <QStringList>

class Form_Base;

namespace RecallList {
constexpr int Minutes = 30;

// The entries, newest first; each with its lines not taken back since.
QList<Journal::Press> entries(const QDateTime& now);
// Takes the entry back on the server and records that in the journal. Throws DbError.
void takeBack(Form_Base& base, const Journal::Press& entry);

// The statement that sets the lines, those still ready, back to their states before: new or
// shown as they were, shown when the journal does not know.
QStringList takeBackSql(const QList<Journal::Line>& lines);
// "Борщ ×2, Чай" for the list.
QString dishes(const Journal::Press& entry);
}
