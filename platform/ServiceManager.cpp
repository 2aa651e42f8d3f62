#include "ServiceManager.h"

#ifdef KITCHEN_SYSTEMD
#include <systemd/sd-daemon.h>
#endif

bool ServiceManager::notify(const QByteArray& state)
{
#ifdef KITCHEN_SYSTEMD
    return sd_notify(0, state.constData()) > 0;
#else
    Q_UNUSED(state);
    return false;
#endif
}

std::chrono::milliseconds ServiceManager::watchdogLimit()
{
#ifdef KITCHEN_SYSTEMD
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0)
        return std::chrono::milliseconds(usec / 1000);
#endif
    return std::chrono::milliseconds(0);
}
