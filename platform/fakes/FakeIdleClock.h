#pragma once
#include "../IdleClock.h"
#include "../PlatformError.h"

class FakeIdleClock : public IdleClock {
public:
    quint32 now = 0;
    quint32 lastInput = 0;
    bool refuse = false;

    quint32 lastInputTick() override
    {
        if (refuse)
            throw PlatformError(QStringLiteral("Время последнего ввода недоступно"));
        return lastInput;
    }
    quint32 tickCount() override { return now; }
};
