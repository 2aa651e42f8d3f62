#pragma once
// The board's and the polling's statements as first written: the rows that the statements in
// use (posdb/) must give, on any database. They read every shift's lines and serve nothing but
// the equivalence tests and the measurements.

#include "BoardSql.h"

#include <QStringList>

namespace ReferenceSql {
using namespace Qt::StringLiterals;

inline QStringList orderList(bool allOrders, const ServedSections& served)
{
    QStringList sql{
        u"SELECT SMENA.KOD AS K, ZAKAZ.KOD, PERSON.FIO, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.STATUS, INFO_ZAKAZ FROM ZAKAZ_STR"_s,
        u"INNER JOIN ZAKAZ ON ZAKAZ.KOD = ZAKAZ_STR.KOD_ZAKAZ"_s,
        u"INNER JOIN SMENA ON SMENA.KOD = ZAKAZ.KOD_SMENA"_s,
        u"INNER JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
        u"WHERE SMENA.STATUS < 10"_s,
        u"AND ZAKAZ.NUMBER_ZAKAZ > 0"_s,
        allOrders ? u"AND ZAKAZ_STR.PRINT_SECTION > 1"_s : u"AND ZAKAZ_STR.PRINT_SECTION = 2"_s,
    };
    sql << BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s);
    sql << u"GROUP BY 1, 2, 3, 4, 5, 6 ORDER BY 1, 2, 3, 4, 5"_s;
    return sql;
}

// The order's key is written into the text, as it first was.
inline QStringList panelLines(qint64 orderKey, const ServedSections& served)
{
    const QString keyLine = u"WHERE KOD_ZAKAZ = "_s + QString::number(orderKey) + u" AND (SECTION = 800 OR SECTION = 900"_s;
    const QStringList sections = BoardSql::sectionLines(served);
    const QString state = u"AND PRINT_SECTION > 1"_s;
    QStringList sql{
        u"SELECT KOD, NAME_BLUDO, KOLVO, ALL_TIME, NAME_GROUP, MY_TIME,"_s,
        u"PRINT_SECTION, KOD_ZAKAZ, MY_ALARM, END_TIME, START_TIME,"_s,
        u"CAST((START_TIME + CAST(MY_TIME AS DOUBLE PRECISION)/1440) AS TIMESTAMP) AS TPS,"_s,
        u"CAST((START_TIME + CAST(MY_TIME AS DOUBLE PRECISION)/1440) AS TIME) AS TP FROM ZAKAZ_STR"_s,
        keyLine,
    };
    sql << sections;
    sql << state << u"AND END_TIME IS NULL AND MY_TIME > 0"_s << u"UNION"_s
        << u"SELECT KOD, NAME_BLUDO, KOLVO, ALL_TIME, NAME_GROUP, MY_TIME, PRINT_SECTION, KOD_ZAKAZ, MY_ALARM, END_TIME, START_TIME, NULL AS TPS, NULL AS TP FROM ZAKAZ_STR"_s
        << keyLine;
    sql << sections;
    sql << state << u"AND END_TIME IS NULL AND (MY_TIME = 0 OR MY_TIME IS NULL)"_s
        << u"UNION"_s
        << u"SELECT KOD, NAME_BLUDO, KOLVO, ALL_TIME, NAME_GROUP, MY_TIME, PRINT_SECTION, KOD_ZAKAZ, MY_ALARM, END_TIME, START_TIME, CAST(END_TIME AS TIMESTAMP) AS TPS, CAST(END_TIME AS TIME) AS TP FROM ZAKAZ_STR"_s
        << keyLine;
    sql << sections;
    sql << state << u"AND END_TIME IS NOT NULL"_s << u"ORDER BY 12"_s;
    return sql;
}

inline QStringList hotQueue(const ServedSections& served)
{
    const QString columns1 =
        u"SELECT ZAKAZ.KOD AS KZ, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.INFO_ZAKAZ, ZAKAZ_STR.NAME_BLUDO, ZAKAZ_STR.NAME_GROUP,"_s;
    const QString columns2 =
        u"ZAKAZ_STR.ALL_TIME, ZAKAZ_STR.KOLVO, ZAKAZ_STR.MY_ALARM, ZAKAZ_STR.END_TIME, ZAKAZ_STR.MY_TIME, PERSON.FIO,"_s;
    const QStringList joins{
        u"INNER JOIN SMENA ON SMENA.KOD = ZAKAZ.KOD_SMENA"_s,
        u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD"_s,
        u"INNER JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
        u"WHERE SMENA.STATUS < 10 AND (PRINT_SECTION = 1 OR PRINT_SECTION = 2)"_s,
    };
    const QStringList sections = BoardSql::sectionCondition(served);
    const QStringList byServingTime = QStringList{
        columns1, columns2,
        u"CAST(ZAKAZ_STR.END_TIME AS TIMESTAMP) AS TPS, CAST(ZAKAZ_STR.END_TIME AS TIME) AS TP FROM ZAKAZ"_s}
        + joins;
    QStringList sql{
        columns1, columns2,
        u"CAST((ZAKAZ_STR.START_TIME + CAST(ZAKAZ_STR.MY_TIME AS DOUBLE PRECISION) / 1440) AS TIMESTAMP) AS TPS,"_s,
        u"CAST((ZAKAZ_STR.START_TIME + CAST(ZAKAZ_STR.MY_TIME AS DOUBLE PRECISION) / 1440) AS TIME) AS TP FROM ZAKAZ"_s,
    };
    sql << joins << u"AND END_TIME IS NULL"_s << sections
        << u"AND ALL_TIME <= CAST(MY_ALARM + MY_ALARM * 0.2 AS BIGINT)"_s << u"AND MY_TIME > 0"_s << u"UNION"_s;
    sql << byServingTime << u"AND END_TIME IS NOT NULL AND MY_TIME > 0"_s << sections
        << u"AND ZAKAZ_STR.END_TIME <= current_timestamp + CAST(MY_TIME + MY_TIME * 0.2 AS DOUBLE PRECISION) / 1440"_s
        << u"UNION"_s;
    sql << byServingTime << u"AND END_TIME IS NOT NULL AND (MY_TIME = 0 OR MY_TIME IS NULL)"_s << sections
        << u"AND ZAKAZ_STR.END_TIME < current_timestamp + CAST(15 AS DOUBLE PRECISION) / 1440"_s << u"ORDER BY 12"_s;
    return sql;
}

// The new lines of every shift: the statement in use for the full search.
inline QStringList newLines(const ServedSections& served)
{
    return QStringList{u"select KOD from ZAKAZ_STR WHERE PRINT_SECTION = 1 AND (SECTION = 800 OR SECTION = 900"_s}
        + BoardSql::sectionLines(served);
}
}
