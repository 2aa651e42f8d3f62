#include "TimingColours.h"

#include <cmath>

namespace TimingColours {

namespace {
// Times are compared in whole milliseconds, so that a serving time set exactly at an alarm
// point meets it, whatever the rounding of days as doubles.
qint64 ms(double days)
{
    return std::llround(days * 86'400'000.0);
}

qint64 ms(int minutes)
{
    return qint64(minutes) * 60'000;
}

// As the database computes ALL_TIME: the whole minutes down from the milliseconds left.
qint64 floorMinutes(qint64 ms)
{
    return ms >= 0 ? ms / 60'000 : -((-ms + 59'999) / 60'000);
}

// The minutes left now where the row tells when the dish is due, else as they were read.
qint64 minutesLeft(const Line& line, const ServerNow& now)
{
    if (!line.due)
        return line.allTime;
    const std::optional<double> t = now();
    return t ? floorMinutes(ms(*line.due) - ms(*t)) : line.allTime;
}

Colours byMinutesLeft(const Line& line, Colours colours, const ServerNow& now)
{
    const qint64 left = minutesLeft(line, now);
    if (left < line.myAlarm)
        colours.text = Maroon;
    if (left < 0)
        colours.text = Red;
    return colours;
}
}

Colours panel(const Line& line, const ServerNow& now)
{
    Colours colours;
    if (line.myTime != 0)
        colours.text = Green;
    if (line.printSection >= stateValue(LineState::Ready)) {
        colours.readyBackground = true;
        return colours;
    }
    if (line.myTime == 0 && !line.endTime)
        return colours;
    if (!line.endTime)
        return byMinutesLeft(line, colours, now);
    std::optional<double> t = now();
    if (!t)
        return {}; // without the server's time the row keeps the grid's own colours
    const qint64 time = ms(*t), end = ms(*line.endTime);
    if (line.myTime != 0 && time + ms(line.myAlarm) > end)
        colours.text = Maroon;
    if (time > end)
        colours.text = Red;
    return colours;
}

std::optional<Colours> withoutServerTime(Colours (*rule)(const Line&, const ServerNow&), const Line& line)
{
    bool asked = false;
    const Colours colours = rule(line, [&asked]() -> std::optional<double> {
        asked = true;
        return std::nullopt;
    });
    return asked ? std::nullopt : std::optional(colours);
}

Colours hotQueue(const Line& line, const ServerNow& now)
{
    if (!line.endTime)
        return byMinutesLeft(line, {}, now);
    std::optional<double> t = now();
    if (!t)
        return {};
    const qint64 time = ms(*t), end = ms(*line.endTime);
    bool due = line.myTime > 0 ? time + ms(line.myAlarm) >= end : time > end;
    return Colours{due ? Red : Maroon};
}

Colours readyOnly(const Line& line)
{
    Colours colours;
    colours.readyBackground = line.printSection >= stateValue(LineState::Ready);
    return colours;
}

namespace {
// Down to the whole minute, so that half a minute late is already "−1", as the colour is red.
std::optional<qint64> minutesUntil(const Line& line, const ServerNow& now)
{
    if (!line.endTime)
        return minutesLeft(line, now);
    std::optional<double> t = now();
    if (!t)
        return std::nullopt;
    return floorMinutes(ms(*line.endTime) - ms(*t));
}
}

qint64 msToNextTurn(double due, double now)
{
    // The minutes left go down by one the millisecond after a whole minute is left.
    const qint64 left = ms(due) - ms(now);
    return ((left % 60'000) + 60'000) % 60'000 + 1;
}

std::optional<qint64> panelMinutes(const Line& line, const ServerNow& now)
{
    if (line.printSection >= stateValue(LineState::Ready) || (line.myTime == 0 && !line.endTime))
        return std::nullopt;
    return minutesUntil(line, now);
}

std::optional<qint64> hotQueueMinutes(const Line& line, const ServerNow& now)
{
    return minutesUntil(line, now);
}

QString minutesText(qint64 minutes)
{
    return minutes < 0 ? QString(QChar(0x2212)) + QString::number(-minutes) : QString::number(minutes);
}

Urgency urgency(const Colours& colours)
{
    if (colours.text == Red)
        return Urgency::Late;
    if (colours.text == Maroon)
        return Urgency::Due;
    return Urgency::None;
}

}
