#include "ReadyRecord.h"

#include <algorithm>

using namespace Qt::StringLiterals;

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

int ReadyRecord::stateBefore(qint64 line) const
{
    for (auto press = m_presses.rbegin(); press != m_presses.rend(); ++press)
        for (const Line& l : press->lines)
            if (l.key == line)
                return l.before;
    return 2;
}

void ReadyRecord::takenBack(const QList<Line>& lines)
{
    for (Press& press : m_presses)
        press.lines.removeIf([&](const Line& l) {
            return std::any_of(lines.begin(), lines.end(), [&](const Line& back) { return back.key == l.key; });
        });
    std::erase_if(m_presses, [](const Press& p) { return p.lines.isEmpty(); });
}

QStringList ReadyRecord::takeBack(const QList<Line>& lines)
{
    QStringList keys, cases;
    bool oneState = true;
    for (const Line& line : lines) {
        keys << QString::number(line.key);
        cases << u"WHEN %1 THEN %2"_s.arg(line.key).arg(line.before);
        oneState = oneState && line.before == lines.first().before;
    }
    const QString state = oneState && !lines.isEmpty() ? QString::number(lines.first().before)
                                                       : u"CASE KOD "_s + cases.join(u' ') + u" END"_s;
    return {u"UPDATE ZAKAZ_STR SET PRINT_SECTION = "_s + state,
            u"WHERE KOD IN ("_s + keys.join(u", "_s) + u") AND PRINT_SECTION = 3"_s};
}

QStringList ReadyRecord::dishes(const QList<Line>& lines)
{
    QStringList names;
    for (const Line& line : lines)
        names << line.dish;
    return names;
}
