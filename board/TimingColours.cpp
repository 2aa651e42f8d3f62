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

Colours byMinutesLeft(const Line& line, Colours colours)
{
    if (line.allTime < line.myAlarm)
        colours.text = Maroon;
    if (line.allTime < 0)
        colours.text = Red;
    return colours;
}
}

Colours panel(const Line& line, const ServerNow& now)
{
    Colours colours;
    if (line.myTime != 0)
        colours.text = Green;
    if (line.printSection >= 3) {
        colours.readyBackground = true;
        return colours;
    }
    if (line.myTime == 0 && !line.endTime)
        return colours;
    if (!line.endTime)
        return byMinutesLeft(line, colours);
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

Colours hotQueue(const Line& line, const ServerNow& now)
{
    if (!line.endTime)
        return byMinutesLeft(line, {});
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
    colours.readyBackground = line.printSection >= 3;
    return colours;
}

}
