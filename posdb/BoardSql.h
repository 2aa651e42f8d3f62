#pragma once
// The statements of the board: the served-sections condition, the order list and the lines of
// the order panels. The served sections are part of the text (they change only when a cook ticks
// a box, and each choice keeps its own prepared statement); every key is a bound parameter.

#include "LineState.h"

#include <QString>
#include <QStringList>
#include <array>

// Which of the sections 1 to 5 are ticked; 800 and 900 are always served.
using ServedSections = std::array<bool, 5>;

namespace BoardSql {
// The condition's lines after its opening: "OR <column> = n" for each ticked section, then ")".
QStringList sectionLines(const ServedSections& served, const QString& column = QStringLiteral("SECTION"));
// The whole condition: "AND (<column> = 800 OR <column> = 900" and then sectionLines.
QStringList sectionCondition(const ServedSections& served, const QString& column = QStringLiteral("SECTION"));

// Orders of open shifts with lines shown (or, with allOrders, shown or ready) in served sections.
QStringList orderList(bool allOrders, const ServedSections& served);
// The same orders, only those at the places :LO to :HI (1-based, in the list's order), the
// order :C wherever it is (null for none) and the last, so that N, the number of all, always
// comes; sorted by their place P.
QStringList orderPage(bool allOrders, const ServedSections& served);
// The served lines of the order :K, shown or ready, with their due time, sorted by it.
QStringList panelLines(const ServedSections& served);
// The panels' lines of a whole page in one statement: the orders' keys are the parameters
// :K1 to :K6 (null for a free panel), so the text stays the same from page to page. The rows
// come sorted by due time; each order's rows, taken in that order, are its panel's rows.
QStringList pageLines(const ServedSections& served);
constexpr int PagePanels = 6;
// Every section's lines of the order :K, shown (or, with allOrders, shown or ready), sorted by
// due time: the order behind a row of the hot queue.
QStringList hotOrderLines(bool allOrders);
}
