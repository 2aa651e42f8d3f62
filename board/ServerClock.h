#pragma once
// The server's time between its readings, for what turns with the minutes (an order's age, the
// all-day view's minutes) while the polling finds nothing changed and reads nothing: the offset
// of the server's clock from this machine's, taken at the last reading that brought the
// server's time, laid on this machine's clock. No request of its own.

#include <QDateTime>
#include <functional>
#include <optional>

class Clock;

class ServerClock {
public:
    explicit ServerClock(const Clock& clock) : m_clock(clock) {}

    // The server's time as a request read it just now.
    void note(const QDateTime& server);
    bool known() const { return m_offset.has_value(); }
    // Ask for the server's time when no reading has brought it yet (a start before its first
    // poll); nothing then means unknown.
    std::function<std::optional<QDateTime>()> ask;

    // The server's time now; invalid while unknown.
    QDateTime now();
    // In days since 1899-12-30, for the colour rules.
    std::optional<double> days();

    // Whole minutes from `from` to `now`, rounded down as the server rounds them; 0 before it.
    static qint64 minutesSince(const QDateTime& from, const QDateTime& now);

private:
    const Clock& m_clock;
    std::optional<qint64> m_offset; // milliseconds the server is ahead
};
