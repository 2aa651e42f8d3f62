#include "RecallSql.h"

using namespace Qt::StringLiterals;

QStringList RecallSql::servedLines(qint64 orderKey, const ServedSections& served)
{
    return QStringList{
               u"SELECT ZAKAZ_STR.KOD, ZAKAZ_STR.PRINT_SECTION, ZAKAZ.NUMBER_ZAKAZ FROM ZAKAZ_STR"_s,
               u"INNER JOIN ZAKAZ ON ZAKAZ.KOD = ZAKAZ_STR.KOD_ZAKAZ"_s,
               u"WHERE ZAKAZ_STR.KOD_ZAKAZ = "_s + QString::number(orderKey),
           }
           + BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s);
}

QStringList RecallSql::dishBack(qint64 lineKey)
{
    return {u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE KOD = "_s + QString::number(lineKey)
            + u" AND PRINT_SECTION = 3"_s};
}

QStringList RecallSql::orderBack(qint64 orderKey, const ServedSections& served)
{
    return QStringList{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE KOD_ZAKAZ = "_s + QString::number(orderKey)
                       + u" AND PRINT_SECTION = 3"_s}
           + BoardSql::sectionCondition(served);
}

QStringList RecallSql::linesBack(const QList<qint64>& lineKeys)
{
    QStringList keys;
    for (qint64 key : lineKeys)
        keys << QString::number(key);
    return {u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE KOD IN ("_s + keys.join(u", "_s)
            + u") AND PRINT_SECTION = 3"_s};
}
