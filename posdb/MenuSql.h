#pragma once
// The limit window's statements: the open shift's menu sections, their items, and the limit on
// an item.

#include <QStringList>

namespace MenuSql {
// The sections of the open shift's menu, in the menu's order.
QStringList sections();
// The items of the section :KG.
QStringList sectionItems();
// The items of the whole menu :KM whose upper-cased names match the pattern :P, the pattern
// sized to `patternLength` characters (at least 100, at most LongestPattern).
QStringList searchItems(qsizetype patternLength);
// The longest text the server compares (one byte a character in code page 1251).
constexpr int LongestPattern = 32765;
// Sets the item :KD's limit to :LM (null for none).
QStringList setLimit();
}

namespace ParamSql {
// The point of sale's switches in MY_PARAM, by NAME_PARAM :N: the row's KOD, INTEGER_PARAM or
// FLOAT_PARAM.
QString key();
QString integer();
QString floating();
}
