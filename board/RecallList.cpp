#include "RecallList.h"

#include <QLocale>
#include <QStringList>

using namespace Qt::StringLiterals;

QList<Journal::Press> RecallList::entries(Journal& journal, const QDateTime& now)
{
    return journal.readyPresses(now.addSecs(-Minutes * 60));
}

QString RecallList::dishes(const Journal::Press& entry)
{
    QStringList names;
    for (const Journal::Line& line : entry.lines)
        names << (line.quantity == 1 || line.quantity == 0 ? line.dish
                                                            : line.dish + u" ×"_s + QLocale().toString(line.quantity));
    return names.join(u", "_s);
}
