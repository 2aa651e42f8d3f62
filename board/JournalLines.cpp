#include "JournalLines.h"

#include "DbError.h"
#include "Form_Base.h"
#include "JournalTime.h"
#include "Log.h"
#include "Query.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
const QStringList Select{
    u"SELECT ZAKAZ_STR.KOD, ZAKAZ_STR.KOD_ZAKAZ, ZAKAZ.NUMBER_ZAKAZ, PERSON.FIO, ZAKAZ_STR.NAME_BLUDO,"_s,
    u"ZAKAZ_STR.SECTION, ZAKAZ_STR.KOLVO, CAST(ZAKAZ_STR.START_TIME AS VARCHAR(24)) AS ST,"_s,
    u"CAST(COALESCE(ZAKAZ_STR.END_TIME, DATEADD(ZAKAZ_STR.MY_TIME MINUTE TO ZAKAZ_STR.START_TIME)) AS VARCHAR(24)) AS DUE,"_s,
    u"ZAKAZ_STR.PRINT_SECTION"_s,
    u"FROM ZAKAZ_STR INNER JOIN ZAKAZ ON ZAKAZ.KOD = ZAKAZ_STR.KOD_ZAKAZ"_s,
    u"LEFT JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
};
}

QStringList JournalLines::byKeySql()
{
    QStringList keys;
    for (int i = 1; i <= KeysPerRead; ++i)
        keys << u":K%1"_s.arg(i);
    return Select + QStringList{u"WHERE ZAKAZ_STR.KOD IN ("_s + keys.join(u", "_s) + u")"_s, u"ORDER BY ZAKAZ_STR.KOD"_s};
}

namespace {
Journal::Line lineOf(const Query::Row& r)
{
    Journal::Line line;
    line.line = r[0].toInt64().value_or(0);
    line.order = r[1].toInt64().value_or(0);
    line.number = r[2].toText().value_or(QString());
    line.waiter = r[3].toText().value_or(QString());
    line.dish = r[4].toText().value_or(QString());
    line.section = int(r[5].toInt64().value_or(0));
    line.quantity = r[6].toDouble().value_or(0);
    line.start = JournalTime::parse(r[7].toText().value_or(QString()));
    line.due = JournalTime::parse(r[8].toText().value_or(QString()));
    line.stateBefore = int(r[9].toInt64().value_or(0));
    return line;
}

void logFailure(const std::exception& e)
{
    qCWarning(lcMonitor).noquote() << "journal: the lines could not be read:" << Log::oneLine(QString::fromUtf8(e.what()));
}
}

// The lines by key, KeysPerRead at a time, on the data module's query kept for the journal: its
// text never changes, so it is prepared once for the run and an announcement costs the server
// one execution.
QList<Journal::Line> JournalLines::read(Form_Base& base, const Journal& journal, const QList<qint64>& keys)
{
    QList<Journal::Line> lines;
    if (!journal.isOpen() || keys.isEmpty())
        return lines;
    QList<qint64> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    Query& q = base.QJournal;
    try {
        q.setSql(byKeySql());
        for (qsizetype at = 0; at < sorted.size(); at += KeysPerRead) {
            for (int i = 0; i < KeysPerRead; ++i)
                q.setParam(u"K%1"_s.arg(i + 1), at + i < sorted.size() ? DbValue::integer(sorted[at + i]) : DbValue());
            q.open();
            for (int r = 0; r < q.recordCount(); ++r)
                lines << lineOf(q.row(r));
            q.close();
        }
    } catch (const std::exception& e) {
        logFailure(e);
        q.close();
        lines.clear();
    }
    return lines;
}

void JournalLines::announced(Form_Base& base, Journal& journal, const QList<qint64>& keys)
{
    journal.announced(read(base, journal, keys));
}
