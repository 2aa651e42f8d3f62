#include "RecallList.h"

#include "Form_Base.h"
#include "JournalLines.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QList<Journal::Press> RecallList::entries(const QDateTime& now)
{
    return Journal::shared().readyPresses(now.addSecs(-Minutes * 60));
}

QList<ReadyRecord::Line> RecallList::recordLines(const Journal::Press& entry)
{
    QList<ReadyRecord::Line> lines;
    for (const Journal::Line& line : entry.lines)
        lines.append({line.line, line.stateBefore, line.dish});
    return lines;
}

QList<ReadyRecord::Line> RecallList::takeBack(Form_Base& base, const Journal::Press& entry)
{
    const QList<ReadyRecord::Line> lines = recordLines(entry);
    if (lines.isEmpty())
        return lines;
    JournalPress press(base, Journal::Kind::Recall, lines);
    base.WriteStatement(ReadyRecord::takeBack(lines));
    press.done();
    return lines;
}

QString RecallList::dishes(const Journal::Press& entry)
{
    QStringList names;
    for (const Journal::Line& line : entry.lines)
        names << (line.quantity == 1 || line.quantity == 0 ? line.dish
                                                            : line.dish + u" ×"_s + QLocale().toString(line.quantity));
    return names.join(u", "_s);
}
