#pragma once
// What the journal keeps of the point of sale's lines, read from the server by key or by order
// at the moment of an announcement or just before a cook's write. A failing read costs the
// journal its entry and nothing else: it is logged and never thrown.

#include "Journal.h"

#include "Query.h"

#include <QList>
#include <map>

class Form_Base;

namespace JournalLines {
// The lines' order, waiter, dish, section, quantity, start and due moment, and present state;
// throws when they cannot be read.
QList<Journal::Line> readLines(Query& query, const QList<qint64>& keys);
// The same, taking the lines found in `probed` (keyed rows with the details from column `at`
// on) from there and reading only the others.
QList<Journal::Line> readLines(Query& query, const QList<qint64>& keys, const std::map<qint64, Query::Row>& probed,
                               size_t at);
// The same for the journal: nothing when it is closed or the read fails (logged).
QList<Journal::Line> read(Form_Base& base, const Journal& journal, const QList<qint64>& keys);

// The polling announced the lines of these keys, read with readLines.
void announced(Journal& journal, const QList<Journal::Line>& lines, const QList<qint64>& keys);
}
