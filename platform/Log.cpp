#include "Log.h"

// Information and above: the events are information, the failures warnings.
Q_LOGGING_CATEGORY(lcMonitor, "kitchen", QtInfoMsg)

void Log::setUp()
{
    qSetMessagePattern(QStringLiteral("%{time yyyy-MM-dd HH:mm:ss} %{if-category}%{category}: %{endif}%{message}"));
}

QString Log::oneLine(const QString& text)
{
    QString line = text.trimmed();
    line.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    line.replace(QLatin1Char('\n'), QLatin1String(" / "));
    return line;
}
