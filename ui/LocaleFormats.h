#pragma once
// Date and time forms of the locale as the kitchen reads them: its short date and its long
// time, the latter without a time zone, which the database's moments do not carry.

#include <QLocale>
#include <QString>

namespace LocaleFormats {
inline QString shortDate(const QLocale& locale = QLocale())
{
    return locale.dateFormat(QLocale::ShortFormat);
}

inline QString longTime(const QLocale& locale = QLocale())
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(u't');
    return format.trimmed();
}
}
