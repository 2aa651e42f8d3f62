#pragma once
// What the journal keeps of the point of sale's lines, read from the server by key or by order
// at the moment of an announcement or just before a cook's write. A failing read costs the
// journal its entry and nothing else: it is logged and never thrown.

#include "BoardSql.h"
#include "Journal.h"
#include "ReadyRecord.h"

#include <QList>

class Form_Base;
class Query;

namespace JournalLines {
// The lines' order, waiter, dish, section, quantity, start and due moment, and present state;
// throws when they cannot be read.
QList<Journal::Line> readLines(Query& query, const QList<qint64>& keys);
// The same for the journal: nothing when it is closed or the read fails (logged).
QList<Journal::Line> read(Form_Base& base, const QList<qint64>& keys);

// The polling announced the lines of these keys, read with readLines.
void announced(const QList<Journal::Line>& lines, const QList<qint64>& keys);
}

// A cook's press as the journal records it: the lines the board's record of presses says it
// changes, their details read before the write, and recorded once the write has succeeded. A
// "ready" keeps the record's states before; a take-back changes only the lines still ready when
// it writes, so it keeps those the server holds ready just before.
class JournalPress {
public:
    JournalPress(Form_Base& base, Journal::Kind kind, const QList<ReadyRecord::Line>& lines);
    // The write went through; the press's id in the journal (0 when not written).
    qint64 done();

private:
    Journal::Kind m_kind;
    QList<Journal::Line> m_lines;
};
