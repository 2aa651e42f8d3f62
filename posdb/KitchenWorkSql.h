#pragma once
// The statements behind the kitchen's dishes in work: the open shift's lines of the served
// sections that are shown to the cooks and not yet ready, with what the all-day view needs, and
// the state of lines that have left them. The line states are bound as parameters (bind()).

#include <QStringList>
#include <array>

class Query;

namespace KitchenWorkSql {
// Which of the sections 1 to 5 are ticked; 800 and 900 are always served.
using Served = std::array<bool, 5>;

// One row a line in work: KOD, KOD_ZAKAZ, NUMBER_ZAKAZ, INFO_ZAKAZ (the table), NAME_BLUDO,
// SECTION, KOLVO, START_TIME, END_TIME, MY_TIME, MY_ALARM, ALL_TIME, DUE (the serving time, else
// START_TIME plus the cooking time), AGE (whole minutes since START_TIME), NOW (the server's
// time), SK null; and one row an open shift, with SK its key and the rest null, so that a
// shift that closes is seen in the same request.
QStringList inWork(const Served& served);
// Column indexes of inWork's rows.
enum Column { Kod, Order, Number, Table, Dish, Section, Quantity, Start, End, MyTime, MyAlarm, AllTime, Due, Age, Now, Shift };

// The keys among :K1 … :K<KeysPerRead> (unused ones NULL) whose lines are ready now: KOD.
constexpr int KeysPerRead = 20;
QStringList readyOf();

// Binds the line states the statements name.
void bind(Query& query);
}
