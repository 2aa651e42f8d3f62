#pragma once
// "kitchen-monitor --status [SECONDS]": the health of this settings folder's monitor, told
// without a display for a back office script or a monitoring system's check over ssh: whether
// it runs and its process (from the folder's lock), the last poll's time and result, the served
// sections, the last announcement, the sound and the journal's size (from the status file the
// monitor rewrites after its polls).

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace StatusReport {
enum Status {
    Polling = 0,    // polled within the age given (a minute unless said), and all was well
    Failing = 1,    // polled within it, but the poll failed: the board's strip says what
    NotPolling = 2, // runs, but no poll within it: hung, or stopped by a signal
    NotRunning = 3, // no monitor holds the folder's lock
    Usage = 64,
};
constexpr int DefaultMaxAgeSeconds = 60;

// The text and the exit status for the folder at the time given.
struct Report {
    QString text;
    int status = NotRunning;
};
Report make(const QString& folder, const QDateTime& now, int maxAgeSeconds);
// The command: arguments are the optional age in seconds.
int run(const QStringList& arguments, const QString& folder);
}
