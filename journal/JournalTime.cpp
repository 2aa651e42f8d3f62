#include "JournalTime.h"

using namespace Qt::StringLiterals;

QDateTime JournalTime::parse(const QString& text)
{
    QDateTime t = QDateTime::fromString(text.left(23), u"yyyy-MM-dd HH:mm:ss.zzz"_s);
    if (!t.isValid())
        t = QDateTime::fromString(text.left(19), u"yyyy-MM-dd HH:mm:ss"_s);
    return t;
}
