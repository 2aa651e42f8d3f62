#pragma once
// The system's own record of the last input, for the whole session, and its tick count.

#include "IdleClock.h"

class WinIdleClock : public IdleClock {
public:
    quint32 lastInputTick() override; // throws PlatformError when the system refuses
    quint32 tickCount() override;
};
