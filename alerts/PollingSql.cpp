#include "PollingSql.h"

using namespace Qt::StringLiterals;

namespace {
const QString columns1 =
    u"SELECT ZAKAZ.KOD AS KZ, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.INFO_ZAKAZ, ZAKAZ_STR.NAME_BLUDO, ZAKAZ_STR.NAME_GROUP,"_s;
const QString columns2 =
    u"ZAKAZ_STR.ALL_TIME, ZAKAZ_STR.KOLVO, ZAKAZ_STR.MY_ALARM, ZAKAZ_STR.END_TIME, ZAKAZ_STR.MY_TIME, PERSON.FIO,"_s;
const QStringList referenceJoins{
    u"INNER JOIN SMENA ON SMENA.KOD = ZAKAZ.KOD_SMENA"_s,
    u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD"_s,
    u"INNER JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
    u"WHERE SMENA.STATUS < 10 AND (PRINT_SECTION = 1 OR PRINT_SECTION = 2)"_s,
};
// The lines not yet ready are a tenth of a year's lines wherever cooks leave dishes unmarked;
// driven from them, the hot queue reads them all. "+ 0" changes no value and serves no index,
// so the server goes from the open shift to its orders (orders by shift) and to their lines
// (lines by order), whatever indexes and statistics the point of sale's database has.
const QStringList joins{
    u"INNER JOIN SMENA ON SMENA.KOD + 0 = ZAKAZ.KOD_SMENA"_s,
    u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s,
    u"INNER JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
    u"WHERE SMENA.STATUS < 10 AND (PRINT_SECTION + 0 = 1 OR PRINT_SECTION + 0 = 2)"_s,
};

QStringList referenceHotQueue(const ServedSections& served)
{
    const QStringList sections = BoardSql::sectionCondition(served);
    const QStringList byServingTime = QStringList{
        columns1, columns2,
        u"CAST(ZAKAZ_STR.END_TIME AS TIMESTAMP) AS TPS, CAST(ZAKAZ_STR.END_TIME AS TIME) AS TP FROM ZAKAZ"_s}
        + referenceJoins;
    QStringList sql{
        columns1, columns2,
        u"CAST((ZAKAZ_STR.START_TIME + CAST(ZAKAZ_STR.MY_TIME AS DOUBLE PRECISION) / 1440) AS TIMESTAMP) AS TPS,"_s,
        u"CAST((ZAKAZ_STR.START_TIME + CAST(ZAKAZ_STR.MY_TIME AS DOUBLE PRECISION) / 1440) AS TIME) AS TP FROM ZAKAZ"_s,
    };
    sql << referenceJoins << u"AND END_TIME IS NULL"_s << sections
        << u"AND ALL_TIME <= CAST(MY_ALARM + MY_ALARM * 0.2 AS BIGINT)"_s << u"AND MY_TIME > 0"_s << u"UNION"_s;
    sql << byServingTime << u"AND END_TIME IS NOT NULL AND MY_TIME > 0"_s << sections
        << u"AND ZAKAZ_STR.END_TIME <= current_timestamp + CAST(MY_TIME + MY_TIME * 0.2 AS DOUBLE PRECISION) / 1440"_s
        << u"UNION"_s;
    sql << byServingTime << u"AND END_TIME IS NOT NULL AND (MY_TIME = 0 OR MY_TIME IS NULL)"_s << sections
        << u"AND ZAKAZ_STR.END_TIME < current_timestamp + CAST(15 AS DOUBLE PRECISION) / 1440"_s << u"ORDER BY 12"_s;
    return sql;
}
}

// The three branches of the union read the open shift's lines once each; one pass reads them
// once. The branches take disjoint lines (with or without serving time, with or without cooking
// time), so their conditions joined by OR pick the same lines; the due time is the serving time
// where there is one, as each branch has it; DISTINCT removes the same duplicate rows as UNION.
// With many lines due at once the grid shows a few of them, the rest when the cook scrolls; the
// rows after them are not sent.
QStringList PollingSql::hotQueue(const ServedSections& served, int rows)
{
    const QString due = u"COALESCE(ZAKAZ_STR.END_TIME, ZAKAZ_STR.START_TIME + CAST(ZAKAZ_STR.MY_TIME AS DOUBLE PRECISION) / 1440)"_s;
    return QStringList{u"SELECT FIRST %1 DISTINCT ZAKAZ.KOD AS KZ, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.INFO_ZAKAZ, ZAKAZ_STR.NAME_BLUDO, ZAKAZ_STR.NAME_GROUP,"_s.arg(rows),
                       columns2,
                       u"CAST(%1 AS TIMESTAMP) AS TPS,"_s.arg(due), u"CAST(%1 AS TIME) AS TP FROM ZAKAZ"_s.arg(due)}
        + joins + BoardSql::sectionCondition(served)
        + QStringList{
            u"AND (END_TIME IS NULL AND MY_TIME > 0 AND ALL_TIME <= CAST(MY_ALARM + MY_ALARM * 0.2 AS BIGINT)"_s,
            u"OR END_TIME IS NOT NULL AND MY_TIME > 0"_s,
            u"AND ZAKAZ_STR.END_TIME <= current_timestamp + CAST(MY_TIME + MY_TIME * 0.2 AS DOUBLE PRECISION) / 1440"_s,
            u"OR END_TIME IS NOT NULL AND (MY_TIME = 0 OR MY_TIME IS NULL)"_s,
            u"AND ZAKAZ_STR.END_TIME < current_timestamp + CAST(15 AS DOUBLE PRECISION) / 1440)"_s,
            u"ORDER BY 12"_s};
}

QStringList PollingSql::Reference::hotQueue(const ServedSections& served)
{
    return referenceHotQueue(served);
}

// The new lines of every shift, as first written. An index on the lines' state finds them
// directly, but lines of a section that no monitor serves stay new for ever and pile up in it.
QStringList PollingSql::Reference::newLines(const ServedSections& served)
{
    return QStringList{u"select KOD from ZAKAZ_STR WHERE PRINT_SECTION = 1 AND (SECTION = 800 OR SECTION = 900"_s}
        + BoardSql::sectionLines(served);
}

// From the open shifts to their orders to their lines, like the hot queue: the open shifts' lines
// only, whatever the history. The open shifts' own keys come in the same request, so the cycle
// sees when one has closed and looks at every shift then.
QStringList PollingSql::newLines(const ServedSections& served)
{
    return QStringList{
               u"SELECT ZAKAZ_STR.KOD, ZAKAZ.KOD_SMENA AS SK FROM SMENA"_s,
               u"INNER JOIN ZAKAZ ON ZAKAZ.KOD_SMENA = SMENA.KOD + 0"_s,
               u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s,
               u"WHERE SMENA.STATUS < 10 AND ZAKAZ_STR.PRINT_SECTION + 0 = 1"_s,
           }
        + BoardSql::sectionCondition(served)
        + QStringList{u"UNION ALL"_s, u"SELECT CAST(NULL AS BIGINT), KOD FROM SMENA WHERE STATUS < 10"_s};
}

// Bisection inside each block: the lowest key at or above a point is one step down the primary
// key, so a block of a million keys costs about twenty such steps, whatever the history. The
// blank after each colon keeps the variables apart from the statement's own parameters.
QStringList PollingSql::rangeTops()
{
    const QString width = QString::number(RangeWidth);
    return {
        u"EXECUTE BLOCK RETURNS (TOP BIGINT) AS"_s,
        u"DECLARE K BIGINT; DECLARE E BIGINT; DECLARE HI BIGINT; DECLARE MID BIGINT; DECLARE NXT BIGINT;"_s,
        u"BEGIN"_s,
        u"  SELECT MIN(KOD) FROM ZAKAZ_STR INTO : K;"_s,
        u"  WHILE (K IS NOT NULL) DO"_s,
        u"  BEGIN"_s,
        u"    IF (K > 9223372036854775807 - %1) THEN E = 9223372036854775807;"_s.arg(width),
        u"    ELSE E = K - MOD(K, %1) + IIF(K >= 0 OR MOD(K, %1) = 0, %1, 0);"_s.arg(width),
        u"    TOP = K;"_s,
        u"    HI = E;"_s,
        u"    WHILE (HI - TOP > 1) DO"_s,
        u"    BEGIN"_s,
        u"      MID = TOP + (HI - TOP) / 2;"_s,
        u"      SELECT MIN(KOD) FROM ZAKAZ_STR WHERE KOD >= : MID INTO : NXT;"_s,
        u"      IF (NXT < HI) THEN TOP = NXT; ELSE HI = MID;"_s,
        u"    END"_s,
        u"    SUSPEND;"_s,
        u"    K = NULL;"_s,
        u"    IF (E < 9223372036854775807) THEN SELECT MIN(KOD) FROM ZAKAZ_STR WHERE KOD >= : E INTO : K;"_s,
        u"  END"_s,
        u"END"_s,
    };
}

// Every key outside the ranges as far as they reached: below the first range, above each
// range's top and short of the next range, above the last. Only the index entries of those keys
// and their lines are read.
QStringList PollingSql::linesAbove(const ServedSections& served, const QMap<qint64, qint64>& tops)
{
    QStringList sql = QStringList{u"SELECT KOD, IIF(PRINT_SECTION = 1"_s} + BoardSql::sectionCondition(served)
                      + QStringList{u", 1, 0) AS NEW FROM ZAKAZ_STR"_s};
    if (tops.isEmpty())
        return sql;
    sql << u"WHERE KOD < %1"_s.arg(tops.firstKey() * RangeWidth);
    for (auto top = tops.cbegin(); top != tops.cend(); ++top) {
        const auto next = std::next(top);
        sql << (next == tops.cend() ? u"OR KOD > %1"_s.arg(*top)
                                    : u"OR KOD > %1 AND KOD < %2"_s.arg(*top).arg(next.key() * RangeWidth));
    }
    return sql;
}

QStringList PollingSql::newLinesOfShifts(const ServedSections& served, const QList<qint64>& shifts)
{
    QStringList keys;
    for (qint64 shift : shifts)
        keys << QString::number(shift);
    return QStringList{
               u"SELECT ZAKAZ_STR.KOD FROM ZAKAZ"_s,
               u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s,
               u"WHERE ZAKAZ.KOD_SMENA IN (%1) AND ZAKAZ_STR.PRINT_SECTION + 0 = 1"_s.arg(keys.join(u", "_s)),
           }
        + BoardSql::sectionCondition(served);
}

// By key: a line committed after the probe waits for the next probe and its own announcement.
QStringList PollingSql::markShown(const ServedSections& served, const QList<qint64>& keys)
{
    QStringList digits;
    for (qint64 key : keys)
        digits << QString::number(key);
    return QStringList{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE PRINT_SECTION = 1 AND (SECTION = 800 OR SECTION = 900"_s}
        + BoardSql::sectionLines(served) + QStringList{u"AND KOD IN ("_s + digits.join(u", "_s) + u")"_s};
}

QStringList PollingSql::markOneShown(const ServedSections& served)
{
    return QStringList{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 2 WHERE PRINT_SECTION = 1 AND (SECTION = 800 OR SECTION = 900"_s}
        + BoardSql::sectionLines(served) + QStringList{u"AND KOD = :K"_s};
}
