#include "JournalLines.h"

#include "DbError.h"
#include "Form_Base.h"
#include "JournalTime.h"
#include "LineDetailsSql.h"
#include "Log.h"
#include "Query.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// The key at column 0, the details from column `at` on, in the order LineDetailsSql gives them.
Journal::Line lineOf(const Query::Row& r, size_t at = 1)
{
    Journal::Line line;
    line.line = r[0].toInt64().value_or(0);
    line.order = r[at].toInt64().value_or(0);
    line.number = r[at + 1].toText().value_or(QString());
    line.waiter = r[at + 2].toText().value_or(QString());
    line.dish = r[at + 3].toText().value_or(QString());
    line.section = int(r[at + 4].toInt64().value_or(0));
    line.quantity = r[at + 5].toDouble().value_or(0);
    line.start = JournalTime::parse(r[at + 6].toText().value_or(QString()));
    line.due = JournalTime::parse(r[at + 7].toText().value_or(QString()));
    line.stateBefore = int(r[at + 8].toInt64().value_or(0));
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
QList<Journal::Line> JournalLines::readLines(Query& q, const QList<qint64>& keys)
{
    QList<Journal::Line> lines;
    QList<qint64> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    try {
        q.setSql(LineDetailsSql::byKeys());
        for (qsizetype at = 0; at < sorted.size(); at += LineDetailsSql::KeysPerRead) {
            for (int i = 0; i < LineDetailsSql::KeysPerRead; ++i)
                q.setParam(u"K%1"_s.arg(i + 1), at + i < sorted.size() ? DbValue::integer(sorted[at + i]) : DbValue());
            q.open();
            for (int r = 0; r < q.recordCount(); ++r)
                lines << lineOf(q.row(r));
            q.close();
        }
    } catch (...) {
        q.close();
        throw;
    }
    return lines;
}

QList<Journal::Line> JournalLines::readLines(Query& q, const QList<qint64>& keys,
                                            const std::map<qint64, Query::Row>& probed, size_t at)
{
    QList<qint64> missing;
    for (qint64 key : keys)
        if (!probed.contains(key))
            missing << key;
    QList<Journal::Line> lines = missing.isEmpty() ? QList<Journal::Line>() : readLines(q, missing);
    for (qint64 key : keys)
        if (const auto row = probed.find(key); row != probed.end())
            lines << lineOf(row->second, at);
    std::sort(lines.begin(), lines.end(), [](const Journal::Line& a, const Journal::Line& b) { return a.line < b.line; });
    lines.erase(std::unique(lines.begin(), lines.end(),
                            [](const Journal::Line& a, const Journal::Line& b) { return a.line == b.line; }),
                lines.end());
    return lines;
}

QList<Journal::Line> JournalLines::read(Form_Base& base, const Journal& journal, const QList<qint64>& keys)
{
    if (!journal.isOpen() || keys.isEmpty())
        return {};
    try {
        return readLines(base.QJournal, keys);
    } catch (const std::exception& e) {
        logFailure(e);
    }
    return {};
}

void JournalLines::announced(Journal& journal, const QList<Journal::Line>& lines, const QList<qint64>& keys)
{
    QList<Journal::Line> fresh;
    for (const Journal::Line& line : lines)
        if (keys.contains(line.line))
            fresh << line;
    journal.announced(fresh);
}
