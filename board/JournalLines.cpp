#include "JournalLines.h"

#include "DbError.h"
#include "Form_Base.h"
#include "JournalTime.h"
#include "Log.h"
#include "Query.h"

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
        for (int i = 0; i < q.recordCount(); ++i) {
            const Query::Row& r = q.row(i);
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
            lines << line;
        }
    } catch (const std::exception& e) {
        qCWarning(lcMonitor).noquote() << "journal: the lines could not be read:" << Log::oneLine(QString::fromUtf8(e.what()));
        lines.clear();
    }
    return lines;
}

QList<Journal::Line> JournalLines::read(Form_Base& base, const QList<qint64>& keys)
{
    QList<Journal::Line> lines;
    for (qsizetype at = 0; at < keys.size(); at += KeysPerStatement)
        lines += read(base, byKeySql(keys.mid(at, KeysPerStatement)));
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
