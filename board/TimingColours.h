#pragma once
// The urgency colours of a dish: green on schedule, maroon once its alarm lead time is reached,
// red when overdue, a grey background when ready. Plain rules over one row's values and the
// server's current time, which is asked for only when a rule needs it. Every text colour reads
// at 4.5:1 or more against the white of a grid and against the ready background, which is
// itself plainly darker than white.

#include "LineState.h"

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

namespace TimingColours {
inline const QColor Green(0, 100, 0);
inline const QColor Maroon(128, 0, 0);
inline const QColor Red(192, 0, 0);
inline const QColor Navy(0, 0, 128);
inline const QColor ReadyBackground(216, 216, 216);

// A row's inputs; a null integer reads as 0.
struct Line {
    int myTime = 0;          // cooking time, minutes
    int myAlarm = 0;         // alarm lead time, minutes
    qint64 allTime = 0;      // minutes left, as the database computed them when it was read
    std::optional<double> endTime; // serving time, days since 1899-12-30
    int printSection = 0;    // display state
    // When the dish is due (its serving time, else its start plus its cooking time), where the
    // row tells it: the minutes left are then counted from the server's time of the paint, so
    // that rows held from an earlier read turn with the clock; allTime serves without it.
    std::optional<double> due;
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

// The colours a rule gives a line when they rest on its values alone; nothing when the rule
// asks for the server's time.
std::optional<Colours> withoutServerTime(Colours (*rule)(const Line&, const ServerNow&), const Line& line);

// The whole minutes a dish has left until it is due, negative once it is late, from the very
// inputs the colours are made of: the serving time against the server's time where there is
// one, else the due time against it, else the minutes left that the database computed. It is negative exactly when the panel
// rule turns the dish red. Nothing for a ready dish in a panel, for a dish without a due moment,
// or without the server's time.
std::optional<qint64> panelMinutes(const Line& line, const ServerNow& now);
std::optional<qint64> hotQueueMinutes(const Line& line, const ServerNow& now);
// The milliseconds from now until the minutes left of a dish due then turn next.
qint64 msToNextTurn(double due, double now);
// "12", "0", "−4" (with a true minus sign).
QString minutesText(qint64 minutes);

// The second cue a colour gives, for those who cannot tell maroon, red and green apart.
enum class Urgency { None, Due, Late };
Urgency urgency(const Colours& colours);
}
