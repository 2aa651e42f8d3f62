#pragma once
// Raw bytes of the settings files that the tests lay down and look at.

#include <QByteArray>
#include <QFile>
#include <QString>

// The file's bytes, or "<missing>" when there is no such file.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
