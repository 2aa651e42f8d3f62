#include "LineDetailsSql.h"

#include "PosStatement.h"

using namespace Qt::StringLiterals;

QStringList LineDetailsSql::byKeys()
{
    return {
        u"SELECT ZAKAZ_STR.KOD, ZAKAZ_STR.KOD_ZAKAZ, ZAKAZ.NUMBER_ZAKAZ, PERSON.FIO, ZAKAZ_STR.NAME_BLUDO,"_s,
        u"ZAKAZ_STR.SECTION, ZAKAZ_STR.KOLVO, CAST(ZAKAZ_STR.START_TIME AS VARCHAR(24)) AS ST,"_s,
        u"CAST(COALESCE(ZAKAZ_STR.END_TIME, DATEADD(ZAKAZ_STR.MY_TIME MINUTE TO ZAKAZ_STR.START_TIME)) AS VARCHAR(24)) AS DUE,"_s,
        u"ZAKAZ_STR.PRINT_SECTION"_s,
        u"FROM ZAKAZ_STR INNER JOIN ZAKAZ ON ZAKAZ.KOD = ZAKAZ_STR.KOD_ZAKAZ"_s,
        u"LEFT JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
        u"WHERE ZAKAZ_STR.KOD IN ("_s + PosSql::parameterList(u"K"_s, KeysPerRead) + u")"_s,
        u"ORDER BY ZAKAZ_STR.KOD"_s,
    };
}
