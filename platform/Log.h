#pragma once
// The log for whoever looks after the kitchen's computer: one line per event worth knowing, with
// its time, on stderr, which the service's journal keeps. It never holds a password, and while
// nothing happens it stays quiet: nothing is written at the polling rate.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMonitor)

namespace Log {
// The date and time in front of every line, Qt's own warnings included.
void setUp();
// A text of several lines (a server's error, a message box) on one line of the log.
QString oneLine(const QString& text);
}
