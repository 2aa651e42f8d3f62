#include "DbValue.h"

#include "DbError.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QHash>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 msPerDay = 86'400'000;
const QDate dayZero(1899, 12, 30);

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

QString typeName(DbValue::Type type)
{
    switch (type) {
    case DbValue::Type::Timestamp: return u"дата и время"_s;
    case DbValue::Type::Time: return u"время"_s;
    default: return u"значение"_s;
    }
}
}

std::optional<qint64> DbValue::toInt64() const
{
    switch (m_type) {
    case Type::Null: return std::nullopt;
    case Type::Integer: return std::get<qint64>(m_value);
    case Type::Double: {
        double v = std::get<double>(m_value);
        if (!std::isfinite(v) || std::fabs(v) >= 9.2e18)
            throw DbError(u"Число %1 не помещается в целое"_s.arg(v));
        return std::llround(v);
    }
    case Type::Text: {
        bool ok = false;
        qint64 v = std::get<QString>(m_value).trimmed().toLongLong(&ok);
        if (!ok)
            throw DbError(u"«%1» — не целое число"_s.arg(std::get<QString>(m_value)));
        return v;
    }
    default:
        throw DbError(u"Поле типа «%1» нельзя прочесть как целое число"_s.arg(typeName(m_type)));
    }
}

std::optional<double> DbValue::toDouble() const
{
    switch (m_type) {
    case Type::Null: return std::nullopt;
    case Type::Integer: return double(std::get<qint64>(m_value));
    case Type::Text: {
        bool ok = false;
        double v = std::get<QString>(m_value).trimmed().toDouble(&ok);
        if (!ok)
            throw DbError(u"«%1» — не число"_s.arg(std::get<QString>(m_value)));
        return v;
    }
    default: return std::get<double>(m_value);
    }
}

std::optional<QString> DbValue::toText() const
{
    switch (m_type) {
    case Type::Null: return std::nullopt;
    case Type::Integer: return QString::number(std::get<qint64>(m_value));
    case Type::Double: return QString::number(std::get<double>(m_value), 'g', 15);
    case Type::Text: return std::get<QString>(m_value);
    case Type::Timestamp:
        return DbTime::toDateTime(std::get<double>(m_value)).toString(u"dd.MM.yyyy H:mm:ss"_s);
    case Type::Time: return DbTime::toTime(std::get<double>(m_value)).toString(u"H:mm:ss"_s);
    }
    return std::nullopt;
}

QVariant DbValue::toVariant() const
{
    switch (m_type) {
    case Type::Null: return {};
    case Type::Integer: return std::get<qint64>(m_value);
    case Type::Double: return std::get<double>(m_value);
    case Type::Text: return std::get<QString>(m_value);
    case Type::Timestamp: return DbTime::toDateTime(std::get<double>(m_value));
    case Type::Time: return DbTime::toTime(std::get<double>(m_value));
    }
    return {};
}

QDateTime DbTime::toDateTime(double days)
{
    qint64 ms = std::llround(days * double(msPerDay));
    // A local date and time asks the system's time zone each time, a few system calls: a poll
    // meets the same moments (the lines' start and due times) again and again, so they are kept
    // for a minute, when the zone's rules could have been changed under the program.
    thread_local QHash<qint64, QDateTime> made;
    thread_local QDeadlineTimer fresh(qint64(0)); // expired: the first call starts the minute
    if (fresh.hasExpired() || made.size() > 50'000) {
        made.clear();
        fresh.setRemainingTime(60'000, Qt::CoarseTimer);
    }
    const auto at = made.constFind(ms);
    if (at != made.cend())
        return *at;
    qint64 day = floorDiv(ms, msPerDay);
    const QDateTime moment(dayZero.addDays(day), QTime::fromMSecsSinceStartOfDay(int(ms - day * msPerDay)));
    made.insert(ms, moment);
    return moment;
}

double DbTime::fromDateTime(const QDateTime& dateTime)
{
    return double(dayZero.daysTo(dateTime.date()))
        + double(dateTime.time().msecsSinceStartOfDay()) / double(msPerDay);
}

QTime DbTime::toTime(double fraction)
{
    qint64 ms = std::llround(fraction * double(msPerDay));
    ms -= floorDiv(ms, msPerDay) * msPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

double DbTime::fromTime(const QTime& time)
{
    return double(time.msecsSinceStartOfDay()) / double(msPerDay);
}
