#include "KitchenWork.h"

#include "DbValue.h"
#include "Form_Base.h"
#include "Journal.h"
#include "JournalStats.h"
#include "KitchenWorkSql.h"
#include "LineState.h"
#include "Log.h"

#include <QHash>
#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;
using Col = KitchenWorkSql::Column;

KitchenWork::KitchenWork(Form_Base& base, Journal& journal, QObject* parent)
    : QObject(parent), m_base(base), m_journal(journal),
      m_inWork(std::make_unique<Query>(base.MyDB, base.TransactionRead)),
      m_ready(std::make_unique<Query>(base.MyDB, base.TransactionRead))
{
}

KitchenWork::~KitchenWork() = default;

std::optional<KitchenWork::Line> KitchenWork::lineOf(const Query::Row& r)
{
    if (r[Col::Kod].isNull())
        return std::nullopt;
    Line line;
    line.line = r[Col::Kod].toInt64().value_or(0);
    line.order = r[Col::Order].toInt64().value_or(0);
    line.number = r[Col::Number].toText().value_or(QString());
    line.table = r[Col::Table].toText().value_or(QString());
    line.dish = r[Col::Dish].toText().value_or(QString());
    line.section = int(r[Col::Section].toInt64().value_or(0));
    line.quantity = r[Col::Quantity].toDouble().value_or(0);
    const auto time = [&](Col c) {
        const std::optional<double> days = r[c].toDouble();
        return days ? DbTime::toDateTime(*days) : QDateTime();
    };
    line.start = time(Col::Start);
    line.due = time(Col::Due);
    line.minutes = r[Col::Age].toInt64().value_or(0);
    // The board's rule on the board's inputs, with the server's time of the same request.
    TimingColours::Line timing;
    timing.myTime = int(r[Col::MyTime].toInt64().value_or(0));
    timing.myAlarm = int(r[Col::MyAlarm].toInt64().value_or(0));
    timing.allTime = r[Col::AllTime].toInt64().value_or(0);
    timing.endTime = r[Col::End].toDouble();
    timing.printSection = stateValue(LineState::Shown);
    const std::optional<double> now = r[Col::Now].toDouble();
    const TimingColours::ServerNow serverNow = [now] { return now; };
    line.urgency = TimingColours::urgency(TimingColours::panel(timing, serverNow));
    line.minutesLeft = TimingColours::panelMinutes(timing, serverNow);
    return line;
}

QList<KitchenWork::Dish> KitchenWork::allDay(const QList<Line>& lines)
{
    QList<Dish> dishes;
    QHash<QString, qsizetype> dishAt;
    for (const Line& line : lines) {
        auto at = dishAt.find(line.dish);
        if (at == dishAt.end()) {
            at = dishAt.insert(line.dish, dishes.size());
            dishes.append(Dish{line.dish, 0, line.minutes, line.urgency, {}, line.start});
        }
        Dish& dish = dishes[*at];
        dish.quantity += line.quantity;
        // The oldest line speaks for the dish; of two as old, the more urgent.
        if (line.minutes > dish.minutes || (line.minutes == dish.minutes && line.urgency > dish.urgency)) {
            dish.minutes = line.minutes;
            dish.urgency = line.urgency;
            dish.start = line.start;
        }
        auto order = std::find_if(dish.orders.begin(), dish.orders.end(),
                                  [&](const Order& o) { return o.order == line.order; });
        if (order == dish.orders.end()) {
            dish.orders.append(Order{line.order, line.number, line.table, 0, line.minutes, line.urgency, line.start});
            order = dish.orders.end() - 1;
        }
        order->quantity += line.quantity;
        if (line.minutes > order->minutes || (line.minutes == order->minutes && line.urgency > order->urgency)) {
            order->minutes = line.minutes;
            order->urgency = line.urgency;
            order->start = line.start;
        }
    }
    const auto before = [](const auto& a, const auto& b) {
        return a.urgency != b.urgency ? a.urgency > b.urgency : a.minutes > b.minutes;
    };
    for (Dish& dish : dishes)
        std::stable_sort(dish.orders.begin(), dish.orders.end(), before);
    std::stable_sort(dishes.begin(), dishes.end(), [&](const Dish& a, const Dish& b) {
        return before(a, b) || (!before(b, a) && a.dish < b.dish);
    });
    return dishes;
}

// The keys of these lines that are ready now, KeysPerRead at a time.
QList<qint64> KitchenWork::readyOf(const QList<Line>& lines)
{
    QList<qint64> ready;
    Query& q = *m_ready;
    q.setSql(KitchenWorkSql::readyOf());
    for (qsizetype at = 0; at < lines.size(); at += KitchenWorkSql::KeysPerRead) {
        for (int i = 0; i < KitchenWorkSql::KeysPerRead; ++i)
            q.setParam(u"K%1"_s.arg(i + 1), at + i < lines.size() ? DbValue::integer(lines[at + i].line) : DbValue());
        KitchenWorkSql::bind(q);
        q.open();
        for (int r = 0; r < q.recordCount(); ++r)
            ready << q.row(r)[0].toInt64().value_or(0);
        q.close();
    }
    return ready;
}

void KitchenWork::refresh(const ServedSections& served, const QDateTime& now)
{
    Query& q = *m_inWork;
    q.setSql(KitchenWorkSql::inWork(served));
    KitchenWorkSql::bind(q);
    q.open();
    QList<Line> lines;
    QList<qint64> shifts;
    for (int r = 0; r < q.recordCount(); ++r) {
        if (std::optional<Line> line = lineOf(q.row(r)))
            lines << *line;
        else
            shifts << q.row(r)[Col::Shift].toInt64().value_or(0);
    }
    q.close();

    QSet<qint64> before, after;
    for (const Line& line : std::as_const(m_lines))
        before.insert(line.line);
    for (const Line& line : std::as_const(lines))
        after.insert(line.line);
    QList<Line> left;
    for (const Line& line : std::as_const(m_lines))
        if (!after.contains(line.line))
            left << line;
    QList<qint64> came;
    for (const Line& line : std::as_const(lines))
        if (!before.contains(line.line))
            came << line.line;
    // Only the lines that left are asked for, and only when some did; a failure here leaves the
    // set as it was, so the next poll sees them leave again.
    const QList<qint64> ready = left.isEmpty() ? QList<qint64>() : readyOf(left);

    const bool shownAlike = std::equal(m_lines.begin(), m_lines.end(), lines.begin(), lines.end(),
                                       [](const Line& a, const Line& b) {
                                           return a.line == b.line && a.order == b.order && a.dish == b.dish
                                                  && a.quantity == b.quantity && a.urgency == b.urgency
                                                  && a.number == b.number && a.table == b.table;
                                       });
    m_lines = lines;
    m_left = left;
    m_came = came;
    QList<Journal::Line> readyElsewhere;
    for (const Line& line : std::as_const(left)) {
        if (!ready.contains(line.line))
            continue; // another section now, the shift closed, or back to new: not cooked
        Journal::Line j;
        j.line = line.line;
        j.order = line.order;
        j.number = line.number;
        j.dish = line.dish;
        j.section = line.section;
        j.quantity = line.quantity;
        j.start = line.start;
        j.due = line.due;
        j.stateBefore = stateValue(LineState::Shown);
        readyElsewhere << j;
    }
    m_journal.readyElsewhere(readyElsewhere, now);
    m_journal.backElsewhere(came, now);
    summariseIfDue(shifts, now);
    if (!left.isEmpty() || !came.isEmpty() || !m_read || !shownAlike)
        emit changed();
    m_read = true;
}

// A shift that closed is summed up at the first reading that misses it; a shift that stays open
// at midnight, at the first reading of the new day, up to midnight. Each summary covers the span
// since the one before (the journal keeps where it ended), so a restart neither loses nor
// repeats one.
void KitchenWork::summariseIfDue(const QList<qint64>& shifts, const QDateTime& now)
{
    QString why;
    QDateTime until = now;
    if (m_shifts) {
        for (qint64 shift : std::as_const(*m_shifts))
            if (!shifts.contains(shift))
                why = u"shift closed"_s;
        if (why.isEmpty() && m_day.isValid() && m_day != now.date() && !shifts.isEmpty()) {
            why = u"midnight"_s;
            until = QDateTime(now.date(), QTime(0, 0));
        }
    }
    m_shifts = shifts;
    m_day = now.date();
    if (why.isEmpty() || !m_journal.isOpen())
        return;
    QDateTime from = m_journal.summarisedUntil();
    if (!from.isValid() || from >= until)
        from = until.addDays(-1);
    const JournalStats::Day day = JournalStats::span(m_journal.handle(), from, until, {});
    qCInfo(lcMonitor).noquote() << JournalStats::summaryLine(day, why);
    m_journal.setSummarisedUntil(until);
}
