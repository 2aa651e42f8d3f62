#pragma once
// Code page 1251, the one code page of the settings files and of the database's text.

#include <QByteArray>
#include <QString>

namespace Cp1251 {
// Bytes to text; every byte has a meaning, so this never fails for lack of a character.
QString decode(const QByteArray& bytes);
QString decode(const char* bytes, qsizetype length);
// Text to bytes; throws PlatformError when the text holds a character the code page lacks,
// rather than storing a '?' in its place.
QByteArray encode(const QString& text);
}
