#include "PressJournal.h"

#include "JournalLines.h"

PressJournal::PressJournal(Form_Base& base, Journal& journal, Journal::Kind kind,
                           const QList<ReadyRecord::Line>& lines)
    : m_journal(journal), m_kind(kind)
{
    QList<qint64> keys;
    for (const ReadyRecord::Line& line : lines)
        keys << line.key;
    m_lines = JournalLines::read(base, journal, keys);
    if (!Journal::setsReady(kind))
        return;
    for (Journal::Line& read : m_lines)
        for (const ReadyRecord::Line& line : lines)
            if (line.key == read.line)
                read.stateBefore = stateValue(line.before);
}

qint64 PressJournal::done()
{
    QList<Journal::Line> changed;
    for (const Journal::Line& line : std::as_const(m_lines))
        // The recall list's take-back ends its entry whole, lines changed meanwhile included.
        if (Journal::setsReady(m_kind) || m_kind == Journal::Kind::Recall || line.stateBefore == stateValue(LineState::Ready))
            changed << line;
    return m_journal.action(m_kind, changed);
}
