#pragma once
// The machine's rules for numbers and letters: the system locale. Whatever converts a typed
// number, writes one for the cook or upper-cases a name for a search asks here. Tests choose
// the locale with QLocale::setDefault.

#include <QLocale>

namespace SystemLocale {
inline QLocale current()
{
    QLocale locale;
    // Numbers are written as the old tills write them: 1450, not 1 450.
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}
}
