#include "LimitEntry.h"

#include "PlatformError.h"
#include "SystemLocale.h"

using namespace Qt::StringLiterals;

namespace LimitEntry {

QString separator()
{
    return SystemLocale::current().decimalPoint();
}

double toNumber(const QString& entry)
{
    bool ok = false;
    const double value = SystemLocale::current().toDouble(entry, &ok);
    if (!ok)
        throw PlatformError(u"«%1» — не число"_s.arg(entry));
    return value;
}

QString minimumMessage(double minimum)
{
    return u"В основной программе реализации настроен минимальный размер лимита равный  >"_s
           + SystemLocale::current().toString(minimum, 'g', 15)
           + u"<   Измените лимит или откажитесь от его назначения."_s;
}

}
