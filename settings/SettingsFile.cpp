#include "SettingsFile.h"

#include "Cp1251.h"
#include "Log.h"
#include "PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

SettingsFile::SettingsFile(const QString& folder, const QString& name)
    : m_path(QDir(folder).filePath(name))
{
}

bool SettingsFile::exists() const
{
    return QFileInfo::exists(m_path);
}

QStringList SettingsFile::readLines() const
{
    return decode(readBytes());
}

QString SettingsFile::line(int index, const QString& fallback) const
{
    const QStringList lines = readLines();
    return index < lines.size() ? lines[index] : fallback;
}

namespace {
QStringList& unreadableFiles()
{
    static QStringList files;
    return files;
}
}

QStringList SettingsFile::readLinesOr(const QStringList& defaults) const
{
    try {
        return readLines();
    } catch (const std::exception&) {
        QFile file(m_path);
        const QString why = QFileInfo(m_path).isDir() ? u"a folder in its place"_s
                            : !file.open(QIODevice::ReadOnly) ? file.errorString()
                                                               : u"read error"_s;
        const QString entry = QFileInfo(m_path).fileName() + u": "_s + why;
        if (!unreadableFiles().contains(entry)) {
            unreadableFiles() << entry;
            qCWarning(lcMonitor).noquote() << "settings file" << m_path << "cannot be read (" + why + "), its default is taken";
        }
        return defaults;
    }
}

QString SettingsFile::lineOr(int index, const QString& fallback) const
{
    return readLinesOr({fallback}).value(index, fallback);
}

QStringList SettingsFile::unreadable()
{
    return unreadableFiles();
}

QByteArray SettingsFile::readBytes() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(u"Ошибка чтения файла \"%1\": %2"_s.arg(m_path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PlatformError(u"Ошибка чтения файла \"%1\": %2"_s.arg(m_path, file.errorString()));
    return bytes;
}

void SettingsFile::write(const QStringList& lines) const
{
    writeBytes(encode(lines));
}

void SettingsFile::writeBytes(const QByteArray& bytes) const
{
    writeBytes(bytes, false);
}

void SettingsFile::writePrivateBytes(const QByteArray& bytes) const
{
    writeBytes(bytes, true);
}

void SettingsFile::writeBytes(const QByteArray& bytes, bool ownerOnly) const
{
    // Written aside and put in place at the end, so a full disk never leaves half a file; a
    // folder that allows no new files but a writable settings file is written in place.
    QSaveFile file(m_path);
    file.setDirectWriteFallback(true);
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    // Closed to others before the bytes go in, whichever file they go into.
    const bool opened = file.open(QIODevice::WriteOnly) && (!ownerOnly || file.setPermissions(owner));
    if (!opened || file.write(bytes) != bytes.size() || !file.commit())
        throw PlatformError(u"Ошибка записи файла \"%1\": %2"_s.arg(m_path, file.errorString()));
    // Written in place, an existing file kept its mode until now.
    if (ownerOnly && !QFile::setPermissions(m_path, owner))
        throw PlatformError(u"Ошибка записи файла \"%1\": нельзя закрыть его от других пользователей"_s.arg(m_path));
}

bool SettingsFile::createIfMissing(const QStringList& defaults) const
{
    if (exists())
        return false;
    write(defaults);
    return true;
}

QList<QByteArray> SettingsFile::splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray raw = bytes.mid(start, end - start);
        raw.replace('\r', QByteArray());
        lines << raw;
        start = end + 1;
    }
    return lines;
}

QStringList SettingsFile::decode(const QByteArray& bytes)
{
    QStringList lines;
    for (const QByteArray& raw : splitLines(bytes))
        lines << Cp1251::decode(raw);
    return lines;
}

QByteArray SettingsFile::encode(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += Cp1251::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}
