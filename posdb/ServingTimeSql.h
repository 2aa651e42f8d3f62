#pragma once
// The serving time a cook gives a dish, or takes off it.

#include <QStringList>

namespace ServingTimeSql {
// Sets the line :K's serving time to :ET.
QStringList set();
// Takes the line :K's serving time off.
QStringList clear();
}
