#include "BoardSql.h"

using namespace Qt::StringLiterals;

// Why the statements differ from their reference texts: a point of sale keeps every order line
// of every shift, and an index on the lines' state (where one exists) spans them all, so a
// statement that the optimiser drives through the state, or through a scan of all lines when
// the index statistics are stale, costs more with every month of history. "+ 0" turns a column
// into an expression that no index serves; it changes no value, so the rows stay the same, and
// leaves the server one cheap way in: from the open shift to its orders to their lines, through
// the primary keys and the indexes behind the orders' shift and the lines' order.

namespace {
// Grouping every shown line of the shift by its order gives a row for each order with at least
// one such line, which the keys of shift, order and waiter make one of a kind: an order's first
// such line is enough to know it.
QStringList orderListText(bool allOrders, const ServedSections& served)
{
    QStringList sql{
        u"SELECT SMENA.KOD AS K, ZAKAZ.KOD, PERSON.FIO, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.STATUS, INFO_ZAKAZ FROM SMENA"_s,
        u"INNER JOIN ZAKAZ ON ZAKAZ.KOD_SMENA = SMENA.KOD + 0"_s,
        u"INNER JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
        u"WHERE SMENA.STATUS < 10"_s,
        u"AND ZAKAZ.NUMBER_ZAKAZ > 0"_s,
        u"AND EXISTS (SELECT 1 FROM ZAKAZ_STR WHERE ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD"_s,
        allOrders ? u"AND ZAKAZ_STR.PRINT_SECTION + 0 > %1"_s.arg(stateValue(LineState::New))
                  : u"AND ZAKAZ_STR.PRINT_SECTION + 0 = %1"_s.arg(stateValue(LineState::Shown)),
    };
    sql << BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s);
    sql << u")"_s << u"ORDER BY 1, 2, 3, 4, 5"_s;
    return sql;
}

// keyLine: the line that picks the order (or orders) and opens the served-sections condition.
QStringList panelText(const QString& keyLine, const ServedSections& served)
{
    const QStringList sections = BoardSql::sectionLines(served);
    // Only the order's own lines are read, through the lines' order reference.
    const QString state = u"AND PRINT_SECTION + 0 > %1"_s.arg(stateValue(LineState::New));
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

const QString panelKeyLine = u"WHERE KOD_ZAKAZ = :K AND (SECTION = 800 OR SECTION = 900"_s;
}

QStringList BoardSql::sectionLines(const ServedSections& served, const QString& column)
{
    QStringList lines;
    for (int i = 0; i < 5; ++i)
        if (served[size_t(i)])
            lines << u"OR %1 = %2"_s.arg(column).arg(i + 1);
    lines << u")"_s;
    return lines;
}

QStringList BoardSql::sectionCondition(const ServedSections& served, const QString& column)
{
    return QStringList{u"AND (%1 = 800 OR %1 = 900"_s.arg(column)} + sectionLines(served, column);
}

QStringList BoardSql::orderList(bool allOrders, const ServedSections& served)
{
    return orderListText(allOrders, served);
}

// A board shows six orders: the server numbers the list and sends the page, not the shift's
// thousands of orders. An order is one of a kind by its shift and its own key, so the place
// follows the list's order exactly.
QStringList BoardSql::orderPage(bool allOrders, const ServedSections& served)
{
    QStringList inner = orderListText(allOrders, served);
    inner.removeLast(); // its ORDER BY: the numbering orders the rows
    inner[0] = u"SELECT SMENA.KOD AS K, ZAKAZ.KOD, PERSON.FIO, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.STATUS, INFO_ZAKAZ,"_s;
    inner.insert(1, u"ROW_NUMBER() OVER (ORDER BY SMENA.KOD, ZAKAZ.KOD) AS P, COUNT(*) OVER () AS N FROM SMENA"_s);
    return QStringList{u"SELECT K, KOD, FIO, NUMBER_ZAKAZ, STATUS, INFO_ZAKAZ, P, N FROM ("_s} + inner
           + QStringList{u") L WHERE P BETWEEN :LO AND :HI OR KOD = :C OR P = N ORDER BY P"_s};
}

QStringList BoardSql::panelLines(const ServedSections& served)
{
    return panelText(panelKeyLine, served);
}

// The order's lines are read through the lines' order reference, six orders at once.
QStringList BoardSql::pageLines(const ServedSections& served)
{
    QStringList keys;
    for (int i = 1; i <= PagePanels; ++i)
        keys << u":K%1"_s.arg(i);
    return panelText(u"WHERE KOD_ZAKAZ IN (%1) AND (SECTION = 800 OR SECTION = 900"_s.arg(keys.join(u", "_s)), served);
}

QStringList BoardSql::hotOrderLines(bool allOrders)
{
    const QString key = u":K"_s;
    const QString mode = allOrders ? u"AND PRINT_SECTION > %1"_s.arg(stateValue(LineState::New))
                                   : u"AND PRINT_SECTION = %1"_s.arg(stateValue(LineState::Shown));
    return {
        u"SELECT KOD, NAME_BLUDO, KOLVO, ALL_TIME, NAME_GROUP, MY_TIME, PRINT_SECTION, KOD_ZAKAZ, MY_ALARM,"_s,
        u"START_TIME, END_TIME, CAST(START_TIME + CAST(MY_TIME AS DOUBLE PRECISION) / 1440 AS TIMESTAMP) AS TPS,"_s,
        u"CAST(START_TIME + CAST(MY_TIME AS DOUBLE PRECISION) / 1440 AS TIME) AS TP FROM ZAKAZ_STR WHERE KOD_ZAKAZ = "_s + key,
        mode,
        u"AND END_TIME IS NULL AND MY_TIME > 0"_s,
        u"UNION"_s,
        u"SELECT KOD, NAME_BLUDO, KOLVO, ALL_TIME, NAME_GROUP, MY_TIME, PRINT_SECTION, KOD_ZAKAZ, MY_ALARM, START_TIME, END_TIME, NULL AS TPS, NULL AS TP FROM ZAKAZ_STR WHERE KOD_ZAKAZ = "_s + key,
        mode,
        u"AND END_TIME IS NULL AND (MY_TIME = 0 OR MY_TIME IS NULL)"_s,
        u"UNION"_s,
        u"SELECT KOD, NAME_BLUDO, KOLVO, ALL_TIME, NAME_GROUP, MY_TIME, PRINT_SECTION, KOD_ZAKAZ, MY_ALARM, START_TIME, END_TIME, CAST(END_TIME AS TIMESTAMP) AS TPS, CAST(END_TIME AS TIME) AS TP FROM ZAKAZ_STR WHERE KOD_ZAKAZ = "_s + key,
        mode,
        u"AND END_TIME IS NOT NULL"_s,
        u"ORDER BY 12"_s,
    };
}
