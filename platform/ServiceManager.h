#pragma once
// What the service manager (systemd) is told, through libsystemd: that the board is up, that
// the GUI thread is alive (its watchdog restarts a monitor whose pings stop), and a status line
// for "systemctl --user status". Without systemd, or without libsystemd at build time, nothing
// is sent and nothing changes.

#include <QByteArray>
#include <chrono>

namespace ServiceManager {
// "READY=1", "WATCHDOG=1", "STATUS=..." or several, one per line. False when nobody listens.
bool notify(const QByteArray& state);
// The watchdog's limit the service set for this process; zero when there is none.
std::chrono::milliseconds watchdogLimit();
}
