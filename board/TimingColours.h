#pragma once
// The urgency colours of a dish: green on schedule, maroon once its alarm lead time is reached,
// red when overdue, a grey background when ready. Plain rules over one row's values and the
// server's current time, which is asked for only when a rule needs it.

#include <QColor>
#include <functional>
#include <optional>

namespace TimingColours {
inline const QColor Green(0, 128, 0);
inline const QColor Maroon(128, 0, 0);
inline const QColor Red(255, 0, 0);
inline const QColor Navy(0, 0, 128);

// A row's inputs; a null integer reads as 0.
struct Line {
    int myTime = 0;          // cooking time, minutes
    int myAlarm = 0;         // alarm lead time, minutes
    qint64 allTime = 0;      // minutes left, as the database computed them
    std::optional<double> endTime; // serving time, days since 1899-12-30
    int printSection = 0;    // display state
};

// What a rule sets; what it leaves unset keeps the grid's own colour.
struct Colours {
    std::optional<QColor> text;
    bool readyBackground = false;
    bool operator==(const Colours&) const = default;
};

// The server's current time in days, or nothing when it cannot be had.
using ServerNow = std::function<std::optional<double>()>;

Colours panel(const Line& line, const ServerNow& now);
Colours hotQueue(const Line& line, const ServerNow& now);
Colours readyOnly(const Line& line);
}
