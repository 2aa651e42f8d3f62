#pragma once
// What the polling tells the log for the kitchen's IT person: the sections served, the dishes
// announced by order, name and section, and once an hour that all is well (or what is not).

#include "BoardSql.h"
#include "Journal.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace LogLines {
// "1, 3 (and 800, 900)": the ticked sections and the two every monitor serves.
QString served(const ServedSections& served);

// One text per line announced, by order number and key: "order 12: Борщ x2 (section 1)".
QStringList announced(QList<Journal::Line> lines);

struct Health {
    int polls = 0;            // runs done since the last report
    QDateTime lastNewLine;    // invalid: none since the start
    QDateTime lostSince;      // invalid: connected
};
QString hourly(const Health& health);
}
