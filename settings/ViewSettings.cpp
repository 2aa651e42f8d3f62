#include "ViewSettings.h"

#include <limits>

namespace ViewSettings {

bool isDigitRun(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool digitRunInRange(const QString& text, qint64 low, qint64 high)
{
    if (!isDigitRun(text))
        return false;
    qsizetype first = 0;
    while (first < text.size() - 1 && text[first] == u'0')
        ++first;
    const QStringView significant = QStringView(text).mid(first);
    if (significant.size() > 18)
        return false; // beyond any range asked for here
    const qint64 value = significant.toLongLong();
    return value >= low && value <= high;
}

qint64 firstWholeNumber(const QByteArray& bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < bytes.size() && (bytes[i] == '-' || bytes[i] == '+'))
        negative = bytes[i++] == '-';
    qint64 value = 0;
    const qint64 cap = std::numeric_limits<qint32>::max();
    for (; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
        value = qMin(cap, value * 10 + (bytes[i] - '0'));
    return negative ? -value : value;
}

int outputItem(qint64 stored)
{
    return stored > 0 ? 1 : 0;
}

bool validIdle(const QString& text)
{
    return digitRunInRange(text, 1, std::numeric_limits<qint32>::max());
}

bool validDuration(const QString& text)
{
    return digitRunInRange(text, 50, 2000);
}

bool validAmount(const QString& text)
{
    return digitRunInRange(text, 1, 10);
}

int textPercent(int size)
{
    // Very large gives the dish names of a 1920x1080 board a cap height of about 29 pixels.
    static constexpr int percents[] = {100, 140, 180};
    return size >= 0 && size <= 2 ? percents[size] : 100;
}

}
