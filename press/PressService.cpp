#include "PressService.h"

#include "Form_Base.h"
#include "PressJournal.h"
#include "PressSql.h"
#include "Query.h"
#include "RecallSql.h"

#include <algorithm>

PressService::PressService(Form_Base& base, Journal& journal, QObject* parent)
    : QObject(parent), m_base(base), m_journal(journal)
{
}

void PressService::seed(const QDateTime& now)
{
    m_record.seed(m_journal, now);
}

PressService::OrderLines PressService::readServed(qint64 order, const ServedSections& served) const
{
    Query q(m_base.MyDB, m_base.TransactionRead);
    q.setSql(RecallSql::servedLines(served));
    q.setParam(QStringLiteral("K"), DbValue::integer(order));
    q.prepare();
    q.open();
    OrderLines read;
    for (int i = 0; i < q.recordCount(); ++i) {
        const Query::Row& line = q.row(i);
        if (i == 0)
            read.number = line[2].toText().value_or(QString());
        read.lines.append({line[0].toInt64().value_or(0), LineState(int(line[1].toInt64().value_or(0))),
                           line[3].toText().value_or(QString())});
    }
    return read;
}

QList<PressService::Line> PressService::OrderLines::in(LineState state) const
{
    QList<Line> found;
    for (const Line& line : lines)
        if (line.before == state)
            found << line;
    return found;
}

std::optional<PressService::Line> PressService::OrderLines::line(qint64 key) const
{
    for (const Line& line : lines)
        if (line.key == key)
            return line;
    return std::nullopt;
}

void PressService::write(Journal::Kind kind, const QList<Line>& lines, const PressSql::Statement& statement)
{
    PressJournal journal(m_base, m_journal, kind, lines);
    try {
        m_base.WriteStatement(statement.sql, statement.params);
    } catch (const std::exception& e) {
        emit failed(kind, QString::fromUtf8(e.what()));
        throw;
    }
    journal.done();
}

void PressService::dishReady(qint64 order, const QString& number, const Line& line)
{
    const PressSql::Statement s = PressSql::dishReady(line.key);
    write(Journal::Kind::DishReady, {line}, s);
    const Press press{order, number, {line}};
    m_record.record(press);
    emit pressed(Journal::Kind::DishReady, press);
}

PressService::Press PressService::orderReady(qint64 order, const QString& number, const QList<Line>& shown,
                                             const std::array<bool, 5>& served)
{
    const PressSql::Statement s = PressSql::orderReady(order, served);
    write(Journal::Kind::OrderReady, shown, s);
    const Press press{order, number, shown};
    m_record.record(press);
    if (!shown.isEmpty()) {
        // A newer ready order replaces the one offered.
        m_offered = press;
        emit pressed(Journal::Kind::OrderReady, press);
    }
    return press;
}

void PressService::dishBack(qint64 line, const QString& dish)
{
    takeBack(Journal::Kind::DishBack, {{line, m_record.stateBefore(line), dish}});
}

QList<PressService::Line> PressService::orderBackLines(qint64 order, const QList<Line>& ready) const
{
    QList<Line> all = ready;
    for (Line& line : all)
        line.before = m_record.stateBefore(line.key);
    const std::optional<Press> press = m_record.lastPress(order);
    if (!press)
        return all;
    QList<Line> back;
    for (const Line& line : press->lines)
        if (ReadyRecord::overlap({line}, ready))
            back << line;
    return back;
}

void PressService::orderBack(const QList<Line>& lines)
{
    takeBack(Journal::Kind::OrderBack, lines);
}

bool PressService::undo()
{
    if (!m_offered)
        return false;
    takeBack(Journal::Kind::Undo, m_offered->lines);
    return true;
}

QList<PressService::Line> PressService::entryLines(const Journal::Press& entry)
{
    QList<Line> lines;
    for (const Journal::Line& line : entry.lines)
        lines.append({line.line, LineState(line.stateBefore), line.dish});
    return lines;
}

QList<PressService::Line> PressService::recall(const Journal::Press& entry)
{
    const QList<Line> lines = entryLines(entry);
    takeBack(Journal::Kind::Recall, lines);
    return lines;
}

void PressService::dropOffer()
{
    if (!m_offered)
        return;
    m_offered.reset();
    emit offerEnded();
}

void PressService::takeBack(Journal::Kind kind, const QList<Line>& lines)
{
    if (lines.isEmpty())
        return;
    QList<PressSql::Back> back;
    for (const Line& line : lines)
        back.append({line.key, line.before});
    const PressSql::Statement s = PressSql::takeBack(back);
    write(kind, lines, s);
    m_record.takenBack(lines);
    emit takenBack(kind, lines);
    // A line of the offered press went back, by whatever road: the strip has nothing left to
    // offer that the cook could trust.
    if (m_offered && ReadyRecord::overlap(m_offered->lines, lines))
        dropOffer();
}
