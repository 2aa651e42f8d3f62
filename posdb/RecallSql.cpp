#include "RecallSql.h"

using namespace Qt::StringLiterals;

QStringList RecallSql::servedLines(const ServedSections& served)
{
    return QStringList{
               u"SELECT ZAKAZ_STR.KOD, ZAKAZ_STR.PRINT_SECTION, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ_STR.NAME_BLUDO FROM ZAKAZ_STR"_s,
               u"INNER JOIN ZAKAZ ON ZAKAZ.KOD = ZAKAZ_STR.KOD_ZAKAZ"_s,
               u"WHERE ZAKAZ_STR.KOD_ZAKAZ = :K"_s,
           }
           + BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s) + QStringList{u"ORDER BY ZAKAZ_STR.KOD"_s};
}
