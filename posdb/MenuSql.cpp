#include "MenuSql.h"

#include <algorithm>

using namespace Qt::StringLiterals;

QStringList MenuSql::sections()
{
    return {u"SELECT MENU_GROUP.* FROM SMENA"_s, u"JOIN MENU_GROUP ON MENU_GROUP.KOD_SPISOK_MENU = SMENA.KOD_MENU"_s,
            u"WHERE SMENA.STATUS < 10 ORDER BY MENU_GROUP.MY_SORT"_s};
}

QStringList MenuSql::sectionItems()
{
    return {u"SELECT * FROM MENU_STR"_s, u"WHERE KOD_MENU_GROUP = :KG"_s};
}

// The cook's text is bound, never pasted: a quote in it cannot end the pattern, while '%' and
// '_' still work as the pattern characters they are. The server sizes the parameter like the
// name it is compared with; sized to the text, a search longer than any name finds nothing
// instead of failing. The size is a length, not a key.
QStringList MenuSql::searchItems(qsizetype patternLength)
{
    return {u"SELECT * FROM MENU_STR"_s, u"WHERE KOD_MENU = :KM AND"_s,
            u"UPPER(NAME collate win1251) LIKE CAST(:P AS VARCHAR(%1))"_s.arg(
                std::clamp<qsizetype>(patternLength, 100, LongestPattern))};
}

QStringList MenuSql::setLimit()
{
    return {u"UPDATE MENU_STR SET LIMIT = :LM WHERE KOD = :KD"_s};
}

QString ParamSql::key()
{
    return u"SELECT KOD FROM MY_PARAM WHERE NAME_PARAM = :N"_s;
}

QString ParamSql::integer()
{
    return u"SELECT INTEGER_PARAM FROM MY_PARAM WHERE NAME_PARAM = :N"_s;
}

QString ParamSql::floating()
{
    return u"SELECT FLOAT_PARAM FROM MY_PARAM WHERE NAME_PARAM = :N"_s;
}
