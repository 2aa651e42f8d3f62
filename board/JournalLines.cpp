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
constexpr int KeysPerStatement = 1000; // the server takes at most 1500 values in a list
}

QStringList JournalLines::byKeySql(const QList<qint64>& keys)
{
    QStringList list;
    for (qint64 key : keys)
        list << QString::number(key);
    return Select + QStringList{u"WHERE ZAKAZ_STR.KOD IN ("_s + list.join(u", "_s) + u")"_s, u"ORDER BY ZAKAZ_STR.KOD"_s};
}

QStringList JournalLines::byOrderSql(qint64 order, const ServedSections& served)
{
    return Select + QStringList{u"WHERE ZAKAZ_STR.KOD_ZAKAZ = "_s + QString::number(order)}
           + BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s) + QStringList{u"ORDER BY ZAKAZ_STR.KOD"_s};
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

// One line by key, on the data module's query kept for the journal: an announcement costs the
// server one execution a line rather than a statement to prepare.
Query& lineByKey(Form_Base& base)
{
    if (base.QJournal.sql().isEmpty())
        base.QJournal.setSql(Select + QStringList{u"WHERE ZAKAZ_STR.KOD = :K"_s});
    return base.QJournal;
}
}

QList<Journal::Line> JournalLines::read(Form_Base& base, const QStringList& sql)
{
    QList<Journal::Line> lines;
    if (!Journal::shared().isOpen())
        return lines;
    try {
        Query q(base.MyDB, base.TransactionRead);
        q.setSql(sql);
        q.prepare();
        q.open();
        for (int i = 0; i < q.recordCount(); ++i)
            lines << lineOf(q.row(i));
    } catch (const std::exception& e) {
        logFailure(e);
        lines.clear();
    }
    return lines;
}

QList<Journal::Line> JournalLines::read(Form_Base& base, const QList<qint64>& keys)
{
    QList<Journal::Line> lines;
    if (!Journal::shared().isOpen() || keys.isEmpty())
        return lines;
    // Many lines at once (a shift's first poll) in few statements; the usual few one by one.
    if (keys.size() > 20) {
        for (qsizetype at = 0; at < keys.size(); at += KeysPerStatement)
            lines += read(base, byKeySql(keys.mid(at, KeysPerStatement)));
        return lines;
    }
    QList<qint64> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    try {
        Query& q = lineByKey(base);
        q.prepare();
        for (qint64 key : std::as_const(sorted)) {
            q.setParam(u"K"_s, DbValue::integer(key));
            q.open();
            if (q.recordCount() > 0)
                lines << lineOf(q.row(0));
            q.close();
        }
    } catch (const std::exception& e) {
        logFailure(e);
        lines.clear();
    }
    return lines;
}

void JournalLines::announced(Form_Base& base, const QList<qint64>& keys)
{
    Journal::shared().announced(read(base, keys));
}

JournalPress::JournalPress(Form_Base& base, Journal::Kind kind, const QList<qint64>& keys)
    : m_kind(kind), m_lines(JournalLines::read(base, keys))
{
}

JournalPress::JournalPress(Form_Base& base, Journal::Kind kind, qint64 order, const ServedSections& served)
    : m_kind(kind), m_lines(JournalLines::read(base, JournalLines::byOrderSql(order, served)))
{
}

qint64 JournalPress::done()
{
    QList<Journal::Line> changed;
    for (const Journal::Line& line : std::as_const(m_lines))
        // The recall list's take-back ends its entry whole, lines changed meanwhile included.
        if (m_kind == Journal::Kind::Recall || (line.stateBefore == 3) != Journal::setsReady(m_kind))
            changed << line;
    return Journal::shared().action(m_kind, changed);
}
