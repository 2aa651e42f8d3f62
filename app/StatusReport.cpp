#include "StatusReport.h"

#include "InstanceLock.h"
#include "Journal.h"
#include "ServiceWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
QString timeText(const QDateTime& t)
{
    return t.isValid() ? t.toString(u"yyyy-MM-dd HH:mm:ss"_s) : u"нет"_s;
}
}

StatusReport::Report StatusReport::make(const QString& folder, const QDateTime& now, int maxAgeSeconds)
{
    Report report;
    QStringList lines;
    const std::optional<qint64> process = InstanceLock::holder(folder);
    lines << (process ? u"Монитор: работает, процесс %1"_s.arg(*process) : u"Монитор: не запущен"_s);
    lines << u"Папка настроек: "_s + folder;

    QFile file(QDir(folder).filePath(QString::fromLatin1(ServiceWatch::FileName)));
    const bool known = file.open(QIODevice::ReadOnly);
    ServiceWatch::Status status = ServiceWatch::Status::read(known ? file.readAll() : QByteArray());
    // The polls that changed nothing else left their time on the file alone.
    if (const QDateTime touched = known ? QFileInfo(file).lastModified() : QDateTime();
        status.polled.isValid() && touched > status.polled)
        status.polled = touched;
    // A file left by an earlier monitor says nothing of the one running now.
    const bool current = known && process && status.process == *process;
    const qint64 age = status.polled.isValid() ? status.polled.secsTo(now) : -1;
    if (!status.polled.isValid())
        lines << u"Последний опрос: нет"_s;
    else
        lines << u"Последний опрос: %1 (%2 с назад): %3"_s.arg(timeText(status.polled)).arg(age).arg(
            status.problem.isEmpty() ? u"связь есть"_s : status.problem);
    lines << u"Обслуживаемые цеха: "_s + (status.sections.isEmpty() ? u"нет сведений"_s : status.sections);
    lines << u"Последнее оповещение: "_s + timeText(status.announced);
    lines << u"Звук: "_s + (!known ? u"нет сведений"_s
                            : status.silence.isEmpty() ? u"работает"_s
                                                       : u"нет звука (%1)"_s.arg(status.silence));
    qint64 journal = 0;
    for (const char* suffix : {"", "-wal"})
        journal += QFileInfo(QDir(folder).filePath(Journal::FileName + QLatin1String(suffix))).size();
    lines << u"Журнал: %1 КБ"_s.arg((journal + 1023) / 1024);

    if (!process)
        report.status = NotRunning;
    else if (!current || age < 0 || age > maxAgeSeconds)
        report.status = NotPolling;
    else
        report.status = status.problem.isEmpty() ? Polling : Failing;
    if (report.status == NotPolling)
        lines << u"Опроса не было %1 с: монитор завис или остановлен"_s.arg(maxAgeSeconds);
    report.text = lines.join(u'\n') + u'\n';
    return report;
}

int StatusReport::run(const QStringList& arguments, const QString& folder)
{
    bool ok = arguments.isEmpty();
    const int maxAge = ok ? DefaultMaxAgeSeconds : arguments.first().toInt(&ok);
    if (!ok || maxAge <= 0 || arguments.size() > 1) {
        std::fputs(u"Использование: kitchen-monitor --status [СЕКУНДЫ]\n"_s.toLocal8Bit().constData(), stderr);
        return Usage;
    }
    const Report report = make(folder, QDateTime::currentDateTime(), maxAge);
    std::fputs(report.text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return report.status;
}
