#include "NewLineProbe.h"

#include "PollingSql.h"
#include "Query.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
void run(Query& query, const QStringList& sql)
{
    query.close();
    query.setSql(sql);
    query.prepare();
    query.open();
}

void run(Query& query, const PosStatement& statement)
{
    query.close();
    statement.bindTo(query);
    query.prepare();
    query.open();
}

void addKeys(const Query& query, QList<qint64>& keys)
{
    for (int i = 0; i < query.recordCount(); ++i)
        keys << query.row(i).front().toInt64().value_or(0);
}

qint64 rangeOf(qint64 key)
{
    return key / PollingSql::RangeWidth - (key % PollingSql::RangeWidth < 0 ? 1 : 0);
}
}

QMap<qint64, qint64> NewLineProbe::rangeTops(Query& query)
{
    run(query, PollingSql::rangeTops());
    QMap<qint64, qint64> tops;
    for (int i = 0; i < query.recordCount(); ++i) {
        const qint64 top = query.row(i).front().toInt64().value_or(0);
        tops.insert(rangeOf(top), top);
    }
    return tops;
}

QList<qint64> NewLineProbe::find(Query& query, Query& wide, const ServedSections& served, const QDateTime& now)
{
    if (m_textServed != served) {
        m_text = PollingSql::newLines(served); // built once for each choice of sections
        m_textServed = served;
    }
    run(query, m_text);
    QList<qint64> lines, shifts;
    m_signature.clear();
    m_serverNow = {};
    m_details.clear();
    for (int i = 0; i < query.recordCount(); ++i) {
        const Query::Row& row = query.row(i);
        if (row[0].isNull() && row[1].isNull()) {
            // The server's time is no part of the signature.
            m_signature.assign(row.begin() + 2, row.begin() + NowColumn);
            if (const std::optional<double> days = row[NowColumn].toDouble())
                m_serverNow = DbTime::toDateTime(*days);
        } else if (row[0].isNull())
            shifts << row[1].toInt64().value_or(0);
        else {
            lines << row[0].toInt64().value_or(0);
            m_details.emplace(lines.back(), row);
        }
    }
    std::sort(shifts.begin(), shifts.end());

    // A clock set back counts as time gone by.
    const bool everyShift = !m_openShifts || m_served != served;
    if (everyShift && m_elsewhere) {
        // The board goes on with the open shifts while the search runs elsewhere.
        if (m_awaiting != served) {
            m_awaiting = served;
            m_meanwhile.clear();
            m_arrived.clear(); // what it finds is what counts
        }
        m_meanwhile << lines;
        m_look = Look::OpenShifts;
        return lines;
    }
    const bool newKeys = !everyShift
                         && (m_resuming || *m_openShifts != shifts || !m_lookedAt.isValid() || now < m_lookedAt
                             || m_lookedAt.secsTo(now) >= EveryShiftMinutes * 60);
    m_look = everyShift ? Look::EveryShift : newKeys ? Look::NewKeys : Look::OpenShifts;
    if (m_look == Look::EveryShift) {
        const QMap<qint64, qint64> tops = rangeTops(wide);
        run(wide, PollingSql::everyShiftNewLines(served));
        lines.clear();
        addKeys(wide, lines);
        m_before = m_tops = tops;
    } else if (m_look == Look::NewKeys) {
        // Every line above the tops of two looks ago, so that one whose key was given out before
        // the last look and committed after it is still found; the tops move up with them.
        run(wide, PollingSql::linesAbove(served, m_before));
        QMap<qint64, qint64> tops = m_tops;
        for (int i = 0; i < wide.recordCount(); ++i) {
            const qint64 key = wide.row(i)[0].toInt64().value_or(0);
            const auto top = tops.find(rangeOf(key));
            if (top == tops.end())
                tops.insert(rangeOf(key), key);
            else
                *top = std::max(*top, key);
            if (wide.row(i)[1].toInt64() == 1)
                lines << key;
        }
        QList<qint64> closed;
        std::set_difference(m_openShifts->cbegin(), m_openShifts->cend(), shifts.cbegin(), shifts.cend(),
                            std::back_inserter(closed));
        if (!closed.isEmpty()) {
            run(wide, PollingSql::newLinesOfShifts(served, closed));
            addKeys(wide, lines);
        }
        lines << m_arrived;
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
        m_before = m_tops;
        m_tops = tops;
    }
    if (m_look != Look::OpenShifts) {
        wide.close();
        m_lookedAt = now;
        m_bounded = true;
    }
    // Kept only once every look has worked, so a failed run is looked at again.
    m_openShifts = shifts;
    m_served = served;
    m_resuming = false;
    m_arrived.clear();
    return lines;
}

NewLineProbe::Everything NewLineProbe::searchEveryShift(Query& wide, const ServedSections& served)
{
    Everything found;
    found.tops = rangeTops(wide);
    run(wide, PollingSql::everyShiftNewLines(served));
    addKeys(wide, found.lines);
    // The open shifts of the same snapshot: those that close later are searched through
    // their orders by the run that resumes from here.
    run(wide, PollingSql::newLines(served));
    for (int i = 0; i < wide.recordCount(); ++i)
        if (wide.row(i)[0].isNull() && !wide.row(i)[1].isNull())
            found.openShifts << wide.row(i)[1].toInt64().value_or(0);
    std::sort(found.openShifts.begin(), found.openShifts.end());
    wide.close();
    return found;
}

void NewLineProbe::arrived(const ServedSections& served, const Everything& found)
{
    if (m_awaiting != served)
        return;
    m_awaiting.reset();
    // What the runs found meanwhile was announced by them.
    for (qint64 line : found.lines)
        if (!m_meanwhile.contains(line))
            m_arrived << line;
    m_meanwhile.clear();
    m_tops = m_before = found.tops;
    m_openShifts = found.openShifts;
    m_served = served;
    m_bounded = m_resuming = true;
    m_lookedAt = {};
}

void NewLineProbe::forget()
{
    if (m_awaiting)
        return; // the search awaited looks through every shift anyway
    // Without bounds only the search of every shift finds what came meanwhile.
    if (m_bounded && m_openShifts)
        m_resuming = true;
    else
        m_openShifts.reset();
}

std::optional<NewLineProbe::Bounds> NewLineProbe::bounds() const
{
    if (!m_bounded || !m_openShifts)
        return std::nullopt;
    return Bounds{m_tops, m_before, *m_openShifts, m_served};
}

void NewLineProbe::resume(const Bounds& bounds)
{
    m_tops = bounds.tops;
    m_before = bounds.before;
    m_openShifts = bounds.openShifts;
    m_served = bounds.served;
    m_bounded = m_resuming = true;
    m_lookedAt = {};
}

// Keys as text: a JSON number holds 53 bits, a key 63.
namespace {
QJsonObject topsToJson(const QMap<qint64, qint64>& tops)
{
    QJsonObject o;
    for (auto t = tops.cbegin(); t != tops.cend(); ++t)
        o.insert(QString::number(t.key()), QString::number(*t));
    return o;
}

std::optional<QMap<qint64, qint64>> topsFromJson(const QJsonValue& v)
{
    if (!v.isObject())
        return std::nullopt;
    QMap<qint64, qint64> tops;
    const QJsonObject o = v.toObject();
    for (auto t = o.begin(); t != o.end(); ++t) {
        bool keyOk = false, topOk = false;
        const qint64 range = t.key().toLongLong(&keyOk), top = t.value().toString().toLongLong(&topOk);
        if (!keyOk || !topOk)
            return std::nullopt;
        tops.insert(range, top);
    }
    return tops;
}
}

QString NewLineProbe::toText(const Bounds& bounds)
{
    QJsonArray shifts, served;
    for (qint64 shift : bounds.openShifts)
        shifts.append(QString::number(shift));
    for (bool s : bounds.served)
        served.append(s);
    const QJsonObject o{{u"tops"_s, topsToJson(bounds.tops)}, {u"before"_s, topsToJson(bounds.before)},
                        {u"open"_s, shifts}, {u"served"_s, served}};
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

std::optional<NewLineProbe::Bounds> NewLineProbe::fromText(const QString& text)
{
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    const auto tops = topsFromJson(o.value(u"tops"_s)), before = topsFromJson(o.value(u"before"_s));
    const QJsonArray shifts = o.value(u"open"_s).toArray(), served = o.value(u"served"_s).toArray();
    if (!tops || !before || served.size() != 5)
        return std::nullopt;
    Bounds b{*tops, *before, {}, {}};
    for (const QJsonValue& shift : shifts) {
        bool ok = false;
        b.openShifts << shift.toString().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    for (qsizetype i = 0; i < 5; ++i)
        b.served[size_t(i)] = served[i].toBool();
    return b;
}
