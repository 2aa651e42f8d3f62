#include "ServingTimeSql.h"

using namespace Qt::StringLiterals;

QStringList ServingTimeSql::set()
{
    return {u"UPDATE ZAKAZ_STR SET END_TIME = :ET WHERE KOD = :K"_s};
}

QStringList ServingTimeSql::clear()
{
    return {u"UPDATE ZAKAZ_STR SET END_TIME = NULL WHERE KOD = :K"_s};
}
