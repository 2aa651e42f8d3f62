#include "RecallList.h"

#include "Form_Base.h"
#include "JournalLines.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QList<Journal::Press> RecallList::entries(const QDateTime& now)
{
    return Journal::shared().readyPresses(now.addSecs(-Minutes * 60));
}

QStringList RecallList::takeBackSql(const QList<Journal::Line>& lines)
{
    QStringList keys, cases;
    for (const Journal::Line& line : lines) {
        keys << QString::number(line.line);
        const int state = line.stateBefore == 1 || line.stateBefore == 2 ? line.stateBefore : 2;
        cases << u"WHEN %1 THEN %2"_s.arg(line.line).arg(state);
    }
    return {u"UPDATE ZAKAZ_STR SET PRINT_SECTION = CASE KOD "_s + cases.join(u' ') + u" END"_s,
            u"WHERE KOD IN ("_s + keys.join(u", "_s) + u") AND PRINT_SECTION = 3"_s};
}

void RecallList::takeBack(Form_Base& base, const Journal::Press& entry)
{
    if (entry.lines.isEmpty())
        return;
    QList<qint64> keys;
    for (const Journal::Line& line : entry.lines)
        keys << line.line;
    JournalPress press(base, Journal::Kind::Recall, keys);
    base.WriteStatement(takeBackSql(entry.lines));
    press.done();
}

QString RecallList::dishes(const Journal::Press& entry)
{
    QStringList names;
    for (const Journal::Line& line : entry.lines)
        names << (line.quantity == 1 || line.quantity == 0 ? line.dish
                                                            : line.dish + u" ×"_s + QLocale().toString(line.quantity));
    return names.join(u", "_s);
}
