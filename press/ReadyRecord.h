#pragma once
// What this monitor's "ready" presses changed: for each press the order and the lines it set
// ready, each with the state it had before, so that a mistaken press is taken back exactly and
// no further. Only the press service keeps it.

#include "LineState.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

class Journal;

class ReadyRecord {
public:
    struct Line {
        qint64 key = 0;
        LineState before = LineState::Shown; // the state before the press
        QString dish;
    };
    struct Press {
        qint64 order = 0;
        QString number;
        QList<Line> lines;
    };

    // A press set these lines ready.
    void record(const Press& press);
    // The newest press that set lines of the order ready, with the lines not taken back since.
    std::optional<Press> lastPress(qint64 order) const;
    // The state the line had before this monitor last set it ready; shown when not known.
    LineState stateBefore(qint64 line) const;
    // These lines were taken back: no press of the record returns them again.
    void takenBack(const QList<Line>& lines);

    // The presses as the journal has them, so that a take-back after a restart returns lines to
    // their states before, not to "shown": those of the last day, at most KeptPresses.
    void seed(Journal& journal, const QDateTime& now);

    static QStringList dishes(const QList<Line>& lines);
    // Whether the two share a line.
    static bool overlap(const QList<Line>& a, const QList<Line>& b);

    // The presses of a long shift; older ones are no longer worth taking back.
    static constexpr size_t KeptPresses = 500;

private:
    std::deque<Press> m_presses; // oldest first
};
