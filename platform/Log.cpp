#include "Log.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

// Information and above: the events are information, the failures warnings.
Q_LOGGING_CATEGORY(lcMonitor, "kitchen", QtInfoMsg)

void Log::setUp()
{
    bool journal = false;
#ifdef Q_OS_UNIX
    struct stat err = {};
    if (::fstat(STDERR_FILENO, &err) == 0)
        journal = isJournalStream(qgetenv("JOURNAL_STREAM"), quint64(err.st_dev), quint64(err.st_ino));
#endif
    qSetMessagePattern(pattern(journal));
}

QString Log::pattern(bool journal)
{
    const QString text = QStringLiteral("%{if-category}%{category}: %{endif}%{message}");
    if (!journal)
        return QStringLiteral("%{time yyyy-MM-dd HH:mm:ss} ") + text;
    // The journal reads a syslog priority in front of each line ("<4>" a warning).
    return QStringLiteral("%{if-debug}<7>%{endif}%{if-info}<6>%{endif}%{if-warning}<4>%{endif}"
                          "%{if-critical}<3>%{endif}%{if-fatal}<2>%{endif}")
           + text;
}

bool Log::isJournalStream(const QByteArray& journalStream, quint64 device, quint64 inode)
{
    // A child of the service inherits the variable with another stderr: both numbers must match.
    const QList<QByteArray> parts = journalStream.split(':');
    bool deviceOk = false, inodeOk = false;
    return parts.size() == 2 && parts[0].toULongLong(&deviceOk) == device && deviceOk
           && parts[1].toULongLong(&inodeOk) == inode && inodeOk;
}

QString Log::oneLine(const QString& text)
{
    QString line = text.trimmed();
    line.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    line.replace(QLatin1Char('\n'), QLatin1String(" / "));
    return line;
}
