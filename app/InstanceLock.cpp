#include "InstanceLock.h"

#include "Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

qint64 processIn(int fd)
{
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    return got > 0 ? QByteArray(text, int(got)).trimmed().toLongLong() : 0;
}

// The same file as the path names now: not one unlinked and replaced by a start that took it over.
bool stillNamed(int fd, const QString& path)
{
    struct stat opened = {}, named = {};
    return ::fstat(fd, &opened) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0
           && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Clears a path that no monitor of this user can hold: a file of another user, one this user
// cannot open, a folder.
bool clear(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
}
}

InstanceLock::InstanceLock(const QString& folder) : m_path(QDir(folder).filePath(QString::fromLatin1(FileName))) {}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

InstanceLock::Outcome InstanceLock::take()
{
    const QByteArray name = QFile::encodeName(m_path);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            const int code = errno;
            if (attempt == 0 && code != ENOENT && code != EROFS && clear(m_path))
                continue;
            m_error = systemError(code);
            return Outcome::Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            m_owner = processIn(fd);
            ::close(fd);
            if (code == EWOULDBLOCK)
                return Outcome::Running;
            m_error = systemError(code);
            return Outcome::Failed;
        }
        struct stat info = {};
        if (::fstat(fd, &info) != 0 || !stillNamed(fd, m_path)) {
            ::close(fd); // taken over by another start meanwhile: its file is the lock now
            continue;
        }
        if (info.st_uid != ::geteuid()) {
            // Another user's file, opened because this user may (root): replaced by one of ours,
            // held meanwhile so that no other start takes the old one.
            const bool cleared = QFile::remove(m_path);
            ::close(fd);
            if (cleared)
                continue;
            m_error = QStringLiteral("belongs to another user and cannot be removed");
            return Outcome::Failed;
        }
        // Left by an older monitor or copied with the folder: only this user reads it.
        ::fchmod(fd, 0600);
        const QByteArray process = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, process.constData(), size_t(process.size()), 0) != process.size())
            qCWarning(lcMonitor).noquote() << "lock file" << m_path << "holds no process number:" << systemError(errno);
        m_fd = fd;
        m_owner = QCoreApplication::applicationPid();
        return Outcome::Held;
    }
    m_error = QStringLiteral("replaced by other starts again and again");
    return Outcome::Failed;
}

std::optional<int> InstanceLock::endOfStart(const QString& folder)
{
    switch (take()) {
    case Outcome::Held:
        return std::nullopt;
    case Outcome::Running:
        qCWarning(lcMonitor).noquote() << "already running: process" << m_owner << "uses the settings in" << folder
                                       << "- this start ends";
        return 0;
    case Outcome::Failed:
        break;
    }
    qCCritical(lcMonitor).noquote() << "cannot lock" << m_path << "(" + m_error + ")"
                                    << "- a second monitor could not be told apart; this start ends";
    return 1;
}

std::optional<qint64> InstanceLock::holder(const QString& folder)
{
    const QByteArray name = QFile::encodeName(QDir(folder).filePath(QString::fromLatin1(FileName)));
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::optional<qint64> process;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        process = processIn(fd);
    ::close(fd);
    return process;
}
