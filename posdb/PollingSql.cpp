#include "PollingSql.h"

#include "LineDetailsSql.h"

using namespace Qt::StringLiterals;

namespace {
const QString columns1 =
    u"SELECT ZAKAZ.KOD AS KZ, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ.INFO_ZAKAZ, ZAKAZ_STR.NAME_BLUDO, ZAKAZ_STR.NAME_GROUP,"_s;
const QString columns2 =
    u"ZAKAZ_STR.ALL_TIME, ZAKAZ_STR.KOLVO, ZAKAZ_STR.MY_ALARM, ZAKAZ_STR.END_TIME, ZAKAZ_STR.MY_TIME, PERSON.FIO,"_s;
// The lines not yet ready are a tenth of a year's lines wherever cooks leave dishes unmarked;
// driven from them, the hot queue reads them all. "+ 0" changes no value and serves no index,
// so the server goes from the open shift to its orders (orders by shift) and to their lines
// (lines by order), whatever indexes and statistics the point of sale's database has.
const QStringList joins{
    u"INNER JOIN SMENA ON SMENA.KOD + 0 = ZAKAZ.KOD_SMENA"_s,
    u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s,
    u"INNER JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
    u"WHERE SMENA.STATUS < 10 AND (PRINT_SECTION + 0 = %1 OR PRINT_SECTION + 0 = %2)"_s.arg(
        stateValue(LineState::New)).arg(stateValue(LineState::Shown)),
};
}

// The three branches of the union read the open shift's lines once each; one pass reads them
// once. The branches take disjoint lines (with or without serving time, with or without cooking
// time), so their conditions joined by OR pick the same lines; the due time is the serving time
// where there is one, as each branch has it; DISTINCT removes the same duplicate rows as UNION.
// With many lines due at once the grid shows a few of them, the rest when the cook scrolls; the
// rows after them are not sent. Their number is a count, not a key: the text changes only when
// the cook scrolls for more.
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

// The new lines of every shift. An index on the lines' state finds them directly, but lines of
// a section that no monitor serves stay new for ever and pile up in it: the full search, run
// only at a start, after a reconnection and when the served sections change.
QStringList PollingSql::everyShiftNewLines(const ServedSections& served)
{
    return QStringList{u"select KOD from ZAKAZ_STR WHERE PRINT_SECTION = %1 AND (SECTION = 800 OR SECTION = 900"_s.arg(
               stateValue(LineState::New))}
        + BoardSql::sectionLines(served);
}

// From the open shifts to their orders to their lines, like the hot queue: the open shifts' lines
// only, whatever the history. The open shifts' own keys come in the same request, so the cycle
// sees when one has closed and looks at every shift then.
//
// The last row is what the board's reads depend on: the served lines of the open shifts, their
// orders and waiters. A record's version (RDB$RECORD_VERSION) is the transaction that wrote it;
// a line inserted, deleted, moved in or out, or written at all (even changed and changed back)
// changes the count or a sum of versions, since a new version always comes from another
// transaction than the one it replaces. The other input is the server's clock: DUE counts the
// lines that the hot queue's conditions on the serving time let in at this moment, with the same
// comparisons, so a line that comes due changes it; ALARMED counts the lines in work that the
// hot queue's alarm condition on the minutes left lets in, so a line that reaches its alarm
// time changes it. The minutes left themselves turn every minute: the board counts them from
// the rows it holds and the server's time, which the last column of that row brings (no part
// of what the board depends on) and the local clock carries between polls: no read of its own.
QStringList PollingSql::newLines(const ServedSections& served)
{
    const QString none = u"CAST(NULL AS BIGINT)"_s, noTime = u"CAST(NULL AS TIMESTAMP)"_s;
    const QStringList openLines{
        u"INNER JOIN ZAKAZ ON ZAKAZ.KOD_SMENA = SMENA.KOD + 0"_s,
        u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s,
    };
    // The other rows leave the new lines' details empty, typed as the columns they come from.
    QStringList empty;
    for (const QString& column : LineDetailsSql::ProbeColumns)
        empty << (column.startsWith(u"CAST("_s) ? u"CAST(NULL AS VARCHAR(24))"_s
                                                : u"CAST(NULL AS TYPE OF COLUMN %1)"_s.arg(column));
    const QString noDetails = empty.join(u", "_s);
    return QStringList{u"SELECT ZAKAZ_STR.KOD, ZAKAZ.KOD_SMENA AS SK, %1 AS N, %1 AS V, %1 AS W, %1 AS DUE, %1 AS ALARMED, %2 AS NOW_T,"_s.arg(none, noTime),
                       LineDetailsSql::ProbeColumns.join(u", "_s), u"FROM SMENA"_s}
        + openLines
        + QStringList{u"LEFT JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s,
                      u"WHERE SMENA.STATUS < 10 AND ZAKAZ_STR.PRINT_SECTION + 0 = %1"_s.arg(stateValue(LineState::New))}
        + BoardSql::sectionCondition(served)
        + QStringList{u"UNION ALL"_s, u"SELECT %1, KOD, %1, %1, %1, %1, %1, %2, %3 FROM SMENA WHERE STATUS < 10"_s.arg(none, noTime, noDetails),
                      u"UNION ALL"_s,
                      u"SELECT %1, %1, COUNT(*), SUM(ZAKAZ_STR.RDB$RECORD_VERSION),"_s.arg(none),
                      u"SUM(ZAKAZ.RDB$RECORD_VERSION + COALESCE(PERSON.RDB$RECORD_VERSION, 0)),"_s,
                      u"SUM(IIF(ZAKAZ_STR.END_TIME IS NOT NULL AND (ZAKAZ_STR.PRINT_SECTION + 0 = %1 OR ZAKAZ_STR.PRINT_SECTION + 0 = %2)"_s
                          .arg(stateValue(LineState::New)).arg(stateValue(LineState::Shown)),
                      u"AND (ZAKAZ_STR.MY_TIME > 0 AND ZAKAZ_STR.END_TIME <= current_timestamp + CAST(ZAKAZ_STR.MY_TIME + ZAKAZ_STR.MY_TIME * 0.2 AS DOUBLE PRECISION) / 1440"_s,
                      u"OR (ZAKAZ_STR.MY_TIME = 0 OR ZAKAZ_STR.MY_TIME IS NULL) AND ZAKAZ_STR.END_TIME < current_timestamp + CAST(15 AS DOUBLE PRECISION) / 1440), 1, 0)),"_s,
                      u"SUM(IIF((ZAKAZ_STR.PRINT_SECTION + 0 = %1 OR ZAKAZ_STR.PRINT_SECTION + 0 = %2)"_s
                          .arg(stateValue(LineState::New)).arg(stateValue(LineState::Shown)),
                      u"AND ZAKAZ_STR.END_TIME IS NULL AND ZAKAZ_STR.MY_TIME > 0"_s,
                      u"AND ZAKAZ_STR.ALL_TIME <= CAST(ZAKAZ_STR.MY_ALARM + ZAKAZ_STR.MY_ALARM * 0.2 AS BIGINT), 1, 0)),"_s,
                      u"CURRENT_TIMESTAMP,"_s, noDetails,
                      u"FROM SMENA"_s}
        + openLines
        + QStringList{u"LEFT JOIN PERSON ON PERSON.KOD = ZAKAZ.KOD_PERSON"_s, u"WHERE SMENA.STATUS < 10"_s}
        + BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s);
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
// and their lines are read. The bounds are bound: the text changes only with the number of ranges.
PosStatement PollingSql::linesAbove(const ServedSections& served, const QMap<qint64, qint64>& tops)
{
    PosStatement st;
    st.sql = QStringList{u"SELECT KOD, IIF(PRINT_SECTION = %1"_s.arg(stateValue(LineState::New))}
             + BoardSql::sectionCondition(served) + QStringList{u", 1, 0) AS NEW FROM ZAKAZ_STR"_s};
    if (tops.isEmpty())
        return st;
    st.sql << u"WHERE KOD < :B0"_s;
    st.params.emplace_back(u"B0"_s, DbValue::integer(tops.firstKey() * RangeWidth));
    int i = 1;
    for (auto top = tops.cbegin(); top != tops.cend(); ++top, ++i) {
        const auto next = std::next(top);
        st.params.emplace_back(u"T%1"_s.arg(i), DbValue::integer(*top));
        if (next == tops.cend()) {
            st.sql << u"OR KOD > :T%1"_s.arg(i);
        } else {
            st.sql << u"OR KOD > :T%1 AND KOD < :B%1"_s.arg(i);
            st.params.emplace_back(u"B%1"_s.arg(i), DbValue::integer(next.key() * RangeWidth));
        }
    }
    return st;
}

PosStatement PollingSql::newLinesOfShifts(const ServedSections& served, const QList<qint64>& shifts)
{
    PosStatement st;
    st.sql = QStringList{
                 u"SELECT ZAKAZ_STR.KOD FROM ZAKAZ"_s,
                 u"INNER JOIN ZAKAZ_STR ON ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s,
                 u"WHERE ZAKAZ.KOD_SMENA IN (%1) AND ZAKAZ_STR.PRINT_SECTION + 0 = %2"_s.arg(
                     PosSql::parameterList(u"S"_s, int(shifts.size()))).arg(stateValue(LineState::New)),
             }
             + BoardSql::sectionCondition(served);
    for (qsizetype i = 0; i < shifts.size(); ++i)
        st.params.emplace_back(u"S%1"_s.arg(i + 1), DbValue::integer(shifts[i]));
    return st;
}

namespace {
QStringList markText(const ServedSections& served, const QString& keys)
{
    return QStringList{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = %1 WHERE PRINT_SECTION = %2 AND (SECTION = 800 OR SECTION = 900"_s
                           .arg(stateValue(LineState::Shown))
                           .arg(stateValue(LineState::New))}
        + BoardSql::sectionLines(served) + QStringList{keys};
}
}

// By key: a line committed after the probe waits for the next probe and its own announcement.
QStringList PollingSql::markShown(const ServedSections& served)
{
    return markText(served, u"AND KOD IN ("_s + PosSql::parameterList(u"K"_s, MarkKeys) + u")"_s);
}

PosStatement PollingSql::markShown(const ServedSections& served, const QList<qint64>& keys)
{
    PosStatement st{markShown(served), {}};
    for (int i = 0; i < MarkKeys; ++i)
        st.params.emplace_back(u"K%1"_s.arg(i + 1), i < keys.size() ? DbValue::integer(keys[i]) : DbValue());
    return st;
}

QStringList PollingSql::markOneShown(const ServedSections& served)
{
    return markText(served, u"AND KOD = :K"_s);
}
