#pragma once
// A clock that says whatever the test sets; the real time until it sets one.

#include "Clock.h"

class FakeClock : public Clock {
public:
    QDateTime time;
    mutable int reads = 0;
    QDateTime now() const override
    {
        ++reads;
        return time.isValid() ? time : QDateTime::currentDateTime();
    }
};
