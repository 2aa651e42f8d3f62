#include "KitchenWorkSql.h"

#include "LineState.h"
#include "Query.h"

using namespace Qt::StringLiterals;

// From the open shift to its orders to their lines, as the board's statements go: "+ 0" keeps
// the server off the index on the lines' state, which spans every shift's lines.
QStringList KitchenWorkSql::inWork(const Served& served)
{
    QStringList sql{
        u"SELECT ZAKAZ_STR.KOD, ZAKAZ_STR.KOD_ZAKAZ, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.INFO_ZAKAZ, ZAKAZ_STR.NAME_BLUDO,"_s,
        u"ZAKAZ_STR.SECTION, ZAKAZ_STR.KOLVO, ZAKAZ_STR.START_TIME, ZAKAZ_STR.END_TIME, ZAKAZ_STR.MY_TIME,"_s,
        u"ZAKAZ_STR.MY_ALARM, ZAKAZ_STR.ALL_TIME,"_s,
        u"COALESCE(ZAKAZ_STR.END_TIME, CASE WHEN ZAKAZ_STR.MY_TIME > 0"_s,
        u"THEN DATEADD(ZAKAZ_STR.MY_TIME MINUTE TO ZAKAZ_STR.START_TIME) END) AS DUE,"_s,
        u"CAST(FLOOR(DATEDIFF(MILLISECOND FROM ZAKAZ_STR.START_TIME TO CURRENT_TIMESTAMP) / 60000e0) AS BIGINT) AS AGE,"_s,
        u"CURRENT_TIMESTAMP AS NOW_T, CAST(NULL AS BIGINT) AS SK"_s,
        u"FROM SMENA"_s,
        u"INNER JOIN ZAKAZ ON ZAKAZ.KOD_SMENA = SMENA.KOD + 0"_s,
        u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD"_s,
        u"WHERE SMENA.STATUS < 10"_s,
        u"AND ZAKAZ.NUMBER_ZAKAZ > 0"_s,
        u"AND ZAKAZ_STR.PRINT_SECTION + 0 = :SHOWN"_s,
        u"AND (ZAKAZ_STR.SECTION = 800 OR ZAKAZ_STR.SECTION = 900"_s,
    };
    for (int i = 0; i < 5; ++i)
        if (served[size_t(i)])
            sql << u"OR ZAKAZ_STR.SECTION = %1"_s.arg(i + 1);
    sql << u")"_s;
    sql << u"UNION ALL"_s
        << u"SELECT NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, KOD"_s
        << u"FROM SMENA WHERE STATUS < 10"_s;
    return sql;
}

QStringList KitchenWorkSql::readyOf()
{
    QStringList keys;
    for (int i = 1; i <= KeysPerRead; ++i)
        keys << u":K%1"_s.arg(i);
    return {u"SELECT KOD FROM ZAKAZ_STR WHERE KOD IN ("_s + keys.join(u", "_s) + u")"_s,
            u"AND PRINT_SECTION >= :READY"_s};
}

// A name the text does not use is bound to nothing.
void KitchenWorkSql::bind(Query& query)
{
    query.setParam(u"SHOWN"_s, DbValue::integer(stateValue(LineState::Shown)));
    query.setParam(u"READY"_s, DbValue::integer(stateValue(LineState::Ready)));
}
