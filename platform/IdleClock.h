#pragma once
// Millisecond tick counts for telling how long nobody has touched keyboard or mouse.

#include <QtGlobal>

class IdleClock {
public:
    virtual ~IdleClock() = default;
    // Tick count of the last keyboard or mouse input; throws PlatformError when refused.
    virtual quint32 lastInputTick() = 0;
    // Present tick count; wraps around like the input tick.
    virtual quint32 tickCount() = 0;
};
