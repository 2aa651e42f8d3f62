#pragma once
// One value crossing between the program and the database: a field of a fetched row or a
// parameter to bind. Timestamps are days since 1899-12-30 with the time of day as the fraction;
// a time of day is the fraction alone.

#include <QString>
#include <QVariant>
#include <optional>
#include <variant>

class DbValue {
public:
    enum class Type { Null, Integer, Double, Text, Timestamp, Time };

    DbValue() = default;
    static DbValue integer(qint64 v) { return DbValue(Type::Integer, v); }
    static DbValue number(double v) { return DbValue(Type::Double, v); }
    static DbValue text(const QString& v) { return DbValue(Type::Text, v); }
    static DbValue timestamp(double days) { return DbValue(Type::Timestamp, days); }
    static DbValue timeOfDay(double fraction) { return DbValue(Type::Time, fraction); }

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }

    // Each conversion gives nothing for NULL and throws DbError for a value it cannot convert.
    std::optional<qint64> toInt64() const;
    std::optional<double> toDouble() const;
    std::optional<QString> toText() const;

    // For views: integers, doubles and text as they are, times as QDateTime / QTime.
    QVariant toVariant() const;

    bool operator==(const DbValue& other) const = default;

private:
    using Storage = std::variant<std::monostate, qint64, double, QString>;
    DbValue(Type type, Storage v) : m_type(type), m_value(std::move(v)) {}

    Type m_type = Type::Null;
    Storage m_value;
};

// Days since 1899-12-30 and the calendar, to the millisecond.
namespace DbTime {
QDateTime toDateTime(double days);
double fromDateTime(const QDateTime& dateTime);
QTime toTime(double fraction);
double fromTime(const QTime& time);
}
