#include "Form_Util.h"

#include "Clock.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int seedLength = 15;
// The register cells (counted from 1) that feed each step.
constexpr int taps[] = {1, 3, 5, 7, 11, 13, 17, 19, 23, 29, 36, 127};
}

Form_Util::Form_Util(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
    setObjectName(u"Form_Util"_s);
}

int Form_Util::ScrambleNext()
{
    int sum = 0;
    for (int tap : taps)
        sum += R[size_t(tap - 1)];
    quint8 v = quint8(sum % 255);
    for (size_t i = R.size() - 1; i > 0; --i)
        R[i] = R[i - 1];
    R[0] = v;
    return v;
}

QByteArray Form_Util::ScrambleSeed(const QByteArray& seed)
{
    for (size_t i = seedLength; i < R.size(); ++i)
        R[i] = quint8(i + 1);
    // Year, month, hour, minute, second, millisecond: the day of the month is left out.
    QByteArray text = seed.size() >= seedLength
        ? seed
        : m_clock.now().toString(u"yyyyMMHHmmsszzz"_s).toLatin1();
    for (int i = 0; i < seedLength; ++i)
        R[size_t(i)] = quint8(text[i]);
    for (size_t i = 0; i < R.size(); ++i)
        ScrambleNext();
    return text;
}

QByteArray Form_Util::Unscramble(QByteArray text)
{
    ScrambleSeed(text.left(seedLength));
    for (qsizetype i = seedLength; i < text.size(); ++i)
        text[i] = char(quint8(text[i]) ^ quint8(ScrambleNext()));
    return text.mid(seedLength);
}

QByteArray Form_Util::ScramblePassword(const QByteArray& password)
{
    QByteArray inner = ScrambleSeed(QByteArrayLiteral("1"));
    for (char c : password)
        inner += char(quint8(c) ^ quint8(ScrambleNext()));
    ScrambleSeed(KeyText);
    for (qsizetype i = 0; i < inner.size(); ++i)
        ScrambleNext();
    QByteArray bytes;
    for (char c : inner)
        bytes += char(quint8(c) ^ quint8(ScrambleNext()));
    return bytes;
}

QByteArray Form_Util::UnscramblePassword(QByteArray bytes)
{
    ScrambleSeed(KeyText);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        ScrambleNext();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(quint8(bytes[i]) ^ quint8(ScrambleNext()));
    return Unscramble(bytes);
}
