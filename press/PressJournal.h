#pragma once
// A cook's press as the journal records it: the lines the record of presses says it changes,
// their details read before the write, and recorded once the write has succeeded. A "ready"
// keeps the record's states before; a take-back changes only the lines still ready when it
// writes, so it keeps those the server holds ready just before.

#include "Journal.h"
#include "ReadyRecord.h"

#include <QList>

class Form_Base;

class PressJournal {
public:
    PressJournal(Form_Base& base, Journal& journal, Journal::Kind kind, const QList<ReadyRecord::Line>& lines);
    // The write went through; the press's id in the journal (0 when not written).
    qint64 done();

private:
    Journal& m_journal;
    Journal::Kind m_kind;
    QList<Journal::Line> m_lines;
};
