#include "ReadyRecord.h"

#include "Journal.h"

#include <algorithm>

void ReadyRecord::record(const Press& press)
{
    if (press.lines.isEmpty())
        return;
    m_presses.push_back(press);
    if (m_presses.size() > KeptPresses)
        m_presses.pop_front();
}

std::optional<ReadyRecord::Press> ReadyRecord::lastPress(qint64 order) const
{
    const auto found = std::find_if(m_presses.rbegin(), m_presses.rend(),
                                    [order](const Press& p) { return p.order == order; });
    return found == m_presses.rend() ? std::nullopt : std::optional<Press>(*found);
}

LineState ReadyRecord::stateBefore(qint64 line) const
{
    for (auto press = m_presses.rbegin(); press != m_presses.rend(); ++press)
        for (const Line& l : press->lines)
            if (l.key == line)
                return l.before;
    return LineState::Shown;
}

void ReadyRecord::takenBack(const QList<Line>& lines)
{
    for (Press& press : m_presses)
        press.lines.removeIf([&](const Line& l) { return overlap({l}, lines); });
    std::erase_if(m_presses, [](const Press& p) { return p.lines.isEmpty(); });
}

void ReadyRecord::seed(Journal& journal, const QDateTime& now)
{
    QList<Journal::Press> presses = journal.readyPresses(now.addDays(-1));
    if (presses.size() > qsizetype(KeptPresses))
        presses.resize(qsizetype(KeptPresses));
    // Newest first from the journal; the record takes them as they came.
    for (auto press = presses.crbegin(); press != presses.crend(); ++press) {
        if (press->lines.isEmpty())
            continue;
        QList<Line> lines;
        for (const Journal::Line& line : press->lines)
            lines.append({line.line, LineState(line.stateBefore), line.dish});
        record({press->lines.first().order, press->lines.first().number, lines});
    }
}

QStringList ReadyRecord::dishes(const QList<Line>& lines)
{
    QStringList names;
    for (const Line& line : lines)
        names << line.dish;
    return names;
}

bool ReadyRecord::overlap(const QList<Line>& a, const QList<Line>& b)
{
    return std::any_of(a.begin(), a.end(), [&](const Line& x) {
        return std::any_of(b.begin(), b.end(), [&](const Line& y) { return x.key == y.key; });
    });
}
