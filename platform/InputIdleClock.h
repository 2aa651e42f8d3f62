#pragma once
// The time of the last keyboard, mouse or touch input that reached the program. On a kitchen
// computer the monitor is the only program on the screen, so its own input is the machine's.

#include "IdleClock.h"

#include <QObject>

class InputIdleClock : public QObject, public IdleClock {
    Q_OBJECT
public:
    // Watches every event of the application from now on; the start counts as input.
    InputIdleClock();
    ~InputIdleClock() override;

    quint32 lastInputTick() override { return m_lastInput; }
    // Milliseconds of the monotonic clock, cut to 32 bits: wraps like the system's tick count.
    quint32 tickCount() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    quint32 m_lastInput;
};
