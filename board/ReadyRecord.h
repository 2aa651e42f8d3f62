#pragma once
// What this monitor's "ready" presses changed: for each press the order and the lines it set
// ready, each with the state it had before, so that a mistaken press is taken back exactly and
// no further. The strip's "Отменить" and the order window's take-back both work from it.

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

class ReadyRecord {
public:
    struct Line {
        qint64 key = 0;
        int before = 2; // the state before the press
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
    // The state the line had before this monitor last set it ready; 2 (shown) when not known.
    int stateBefore(qint64 line) const;
    // These lines were taken back: no press of the record returns them again.
    void takenBack(const QList<Line>& lines);

    // Returns the lines that are still ready to their states before; a line that another
    // monitor or the point of sale has changed meanwhile is left as it is.
    static QStringList takeBack(const QList<Line>& lines);
    static QStringList dishes(const QList<Line>& lines);

    // The presses of a long shift; older ones are no longer worth taking back.
    static constexpr size_t KeptPresses = 500;

private:
    std::deque<Press> m_presses; // oldest first
};
