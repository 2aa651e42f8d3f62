#include "ServiceWatch.h"

#include "Clock.h"
#include "Log.h"
#include "ServiceManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {
QString timeText(const QDateTime& t)
{
    return t.isValid() ? t.toString(u"yyyy-MM-dd HH:mm:ss"_s) : u"—"_s;
}
}

QByteArray ServiceWatch::Status::text() const
{
    auto oneLine = [](const QString& s) { return Log::oneLine(s).toUtf8(); };
    return "process=" + QByteArray::number(process) + "\npolled=" + polled.toString(Qt::ISODate).toUtf8()
           + "\nproblem=" + oneLine(problem) + "\nsections=" + oneLine(sections)
           + "\nannounced=" + announced.toString(Qt::ISODate).toUtf8() + "\nsilence=" + oneLine(silence) + '\n';
}

ServiceWatch::Status ServiceWatch::Status::read(const QByteArray& text)
{
    Status s;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "process")
            s.process = value.toLongLong();
        else if (key == "polled")
            s.polled = QDateTime::fromString(value, Qt::ISODate);
        else if (key == "problem")
            s.problem = value;
        else if (key == "sections")
            s.sections = value;
        else if (key == "announced")
            s.announced = QDateTime::fromString(value, Qt::ISODate);
        else if (key == "silence")
            s.silence = value;
    }
    return s;
}

ServiceWatch::ServiceWatch(const QString& folder, const Clock& clock, QObject* parent)
    : QObject(parent), m_path(QDir(folder).filePath(QString::fromLatin1(FileName))), m_clock(clock)
{
    m_status.process = QCoreApplication::applicationPid();
    // Twice within the watchdog's limit, as the service manager advises; without a watchdog the
    // start's time is still extended, by a minute at a time.
    const qint64 limitMs = ServiceManager::watchdogLimit().count();
    const int every = limitMs > 0 ? std::max<int>(1000, int(limitMs / 2)) : 30000;
    m_alive.setInterval(every);
    connect(&m_alive, &QTimer::timeout, this, [this, every] {
        if (!m_shown)
            ServiceManager::notify("EXTEND_TIMEOUT_USEC=" + QByteArray::number(qint64(every) * 2 * 1000));
        else if (!pollingActive())
            ServiceManager::notify("WATCHDOG=1");
    });
    if (qEnvironmentVariableIsSet("NOTIFY_SOCKET"))
        m_alive.start();
}

QString ServiceWatch::statusLine(const Status& status)
{
    return u"опрос %1: %2"_s.arg(timeText(status.polled),
                                 status.problem.isEmpty() ? u"связь есть"_s : status.problem)
           + (status.silence.isEmpty() ? QString() : u"; нет звука"_s);
}

void ServiceWatch::boardShown()
{
    m_shown = true;
    ServiceManager::notify("READY=1\nSTATUS=" + u"табло открыто"_s.toUtf8());
    write();
}

void ServiceWatch::polled(const QString& problem)
{
    m_status.polled = m_clock.now();
    m_status.problem = problem;
    ServiceManager::notify("WATCHDOG=1\nSTATUS=" + statusLine(m_status).toUtf8());
    // Only the poll's time is new: it goes to the file's modification time, with no write.
    if (!m_written.isValid() || m_status.polled < m_written || restText(m_status) != m_writtenRest || !touch())
        write();
}

QByteArray ServiceWatch::restText(Status status)
{
    status.polled = {};
    return status.text();
}

bool ServiceWatch::touch()
{
    const qint64 ms = m_status.polled.toMSecsSinceEpoch();
    const timespec at{time_t(ms / 1000), long(ms % 1000) * 1000000};
    const timespec times[2] = {at, at};
    return ::utimensat(AT_FDCWD, QFile::encodeName(m_path).constData(), times, 0) == 0;
}

void ServiceWatch::announced()
{
    m_status.announced = m_clock.now();
}

void ServiceWatch::setSilence(const QString& silence)
{
    m_status.silence = silence;
    write();
}

void ServiceWatch::write()
{
    // Whole or not at all: a reader never sees half a file. Written beside it and renamed over
    // it, not synced to the disk: it is rewritten every poll, and after a power cut it says no
    // more than that the monitor is not running, whatever it holds.
    const QString beside = m_path + u".new"_s;
    QFile file(beside);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(m_status.text()) >= 0;
    file.close();
    written = written && file.error() == QFileDevice::NoError
              && ::rename(QFile::encodeName(beside).constData(), QFile::encodeName(m_path).constData()) == 0;
    if (!written && !m_writeFailed)
        qCWarning(lcMonitor).noquote() << "status file" << m_path << "not written:"
                                       << (file.error() != QFileDevice::NoError ? file.errorString()
                                                                                : QString::fromLocal8Bit(std::strerror(errno)));
    m_writeFailed = !written;
    m_written = m_clock.now();
    m_writtenRest = written ? restText(m_status) : QByteArray();
}
