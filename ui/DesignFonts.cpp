#include "DesignFonts.h"

namespace {
QFont make(const QString& family, int pixels, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}
}

namespace DesignFonts {
QFont arial(int pixels, bool bold) { return make(QStringLiteral("Liberation Sans"), pixels, bold); }
QFont arialNarrow(int pixels, bool bold)
{
    return make(QStringLiteral("Liberation Sans Narrow"), pixels, bold);
}
QFont dialog(int pixels, bool bold) { return make(QStringLiteral("Liberation Sans"), pixels, bold); }
}
