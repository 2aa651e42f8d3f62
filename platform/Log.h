#pragma once
// The log for whoever looks after the kitchen's computer: one line per event worth knowing on
// stderr, which the service's journal keeps. It never holds a password, and while all is well it
// says so every ten minutes: nothing is written at the polling rate.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMonitor)

namespace Log {
// Every line, Qt's own warnings included, dated on a terminal or in a file; under systemd's
// journal with its priority in front and without a time of its own, which the journal keeps.
void setUp();
QString pattern(bool journal);
// Whether stderr is the journal's stream: systemd names it in JOURNAL_STREAM ("device:inode").
bool isJournalStream(const QByteArray& journalStream, quint64 device, quint64 inode);
// A text of several lines (a server's error, a message box) on one line of the log.
QString oneLine(const QString& text);
}
