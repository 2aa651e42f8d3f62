#include "Cp1251.h"

#include "PlatformError.h"

#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {
constexpr const char* codePage = "windows-1251";

// A Qt built without ICU knows no windows-1251; say so rather than read every text as empty.
template <typename Codec>
void needCodePage(const Codec& codec)
{
    if (!codec.isValid())
        throw PlatformError(u"Кодовая страница 1251 недоступна в этой сборке программы"_s);
}
}

QString Cp1251::decode(const QByteArray& bytes)
{
    QStringDecoder decoder(codePage);
    needCodePage(decoder);
    return decoder.decode(bytes);
}

QByteArray Cp1251::encode(const QString& text)
{
    QStringEncoder encoder(codePage);
    needCodePage(encoder);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        throw PlatformError(
            u"Текст \"%1\" содержит знаки, которых нет в кодовой странице 1251"_s.arg(text));
    return bytes;
}
