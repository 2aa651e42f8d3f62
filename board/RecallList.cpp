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

void RecallList::seed(ReadyRecord& record, Journal& journal, const QDateTime& now)
{
    QList<Journal::Press> presses = journal.readyPresses(now.addDays(-1));
    if (presses.size() > qsizetype(ReadyRecord::KeptPresses))
        presses.resize(qsizetype(ReadyRecord::KeptPresses));
    // Newest first from the journal; the record takes them as they came.
    for (auto press = presses.crbegin(); press != presses.crend(); ++press)
        if (!press->lines.isEmpty())
            record.record({press->lines.first().order, press->lines.first().number, recordLines(*press)});
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
