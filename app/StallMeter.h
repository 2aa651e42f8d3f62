#pragma once
// How long the GUI thread is held, for the benchmark: a cheap timer on the GUI thread notes how
// late each of its ticks comes, and at each polling run's end the log gets the longest gap since
// the last run's end (that run and what it painted). Only where KITCHEN_STALL_METER is set.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class StallMeter : public QObject {
    Q_OBJECT
public:
    static constexpr int TickMs = 5;
    static bool wanted();
    explicit StallMeter(QObject* parent = nullptr);
    // A polling run is over: logs "gui held: N ms" for the time since the last one, and starts over.
    void polled();

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_last = 0;    // ms, of the last tick
    qint64 m_longest = 0; // ms, the longest gap between ticks since the last run's end
};
