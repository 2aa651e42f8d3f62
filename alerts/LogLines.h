#pragma once
// What the polling tells the log for the kitchen's IT person: the sections served, the dishes
// announced by order, name and section, and every ten minutes that all is well (or what is not).

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
    int failures = 0;         // runs and attaches that failed since the last report
    int announcements = 0;    // announcements of new dishes since the last report
};
// How often the health line comes: "when did it last poll" is answered within that.
constexpr int HealthMinutes = 10;
QString health(const Health& health);
}
