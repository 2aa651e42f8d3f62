#pragma once
// The rows the database tests start from and the lines they add: a waiter (key 1), an open
// shift (10) and a closed one (11), orders in them, and order lines found again by their dish.

#include "TestDatabase.h"

#include <QVariant>

struct OrderRows {
    static constexpr qint64 OpenShift = 10, ClosedShift = 11;
    // MY_TIME, MY_ALARM, START_TIME, END_TIME as SQL.
    static inline const QString FreshTiming = QStringLiteral("20, 5, CURRENT_TIMESTAMP, NULL");

    OrderRows(TestDatabase& db, const QString& waiter) : db(db)
    {
        db.exec(QStringLiteral("INSERT INTO PERSON (KOD, FIO) VALUES (1, :F)"), {{QStringLiteral("F"), DbValue::text(waiter)}});
        db.exec(QStringLiteral("INSERT INTO SMENA (KOD, STATUS) VALUES (%1, 1)").arg(OpenShift));
        db.exec(QStringLiteral("INSERT INTO SMENA (KOD, STATUS) VALUES (%1, 10)").arg(ClosedShift));
    }
    void addOrder(qint64 key, int number, const QVariant& info = {}, qint64 shift = OpenShift)
    {
        db.exec(QStringLiteral("INSERT INTO ZAKAZ (KOD, NUMBER_ZAKAZ, INFO_ZAKAZ, KOD_PERSON, KOD_SMENA) VALUES (%1, %2, :I, 1, %3)")
                    .arg(key).arg(number).arg(shift),
                {{QStringLiteral("I"), info.isNull() ? DbValue() : DbValue::text(info.toString())}});
    }
    void addLine(qint64 order, int section, int state, const QString& dish, const QString& timing = FreshTiming)
    {
        db.exec(QStringLiteral("INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME,"
                               " MY_ALARM, START_TIME, END_TIME) VALUES (%1, %2, %3, :D, 1, %4)")
                    .arg(order).arg(section).arg(state).arg(timing),
                {{QStringLiteral("D"), DbValue::text(dish)}});
    }
    // The line's state, -1 when there is no such line.
    int stateOf(const QString& dish)
    {
        return int(db.value(QStringLiteral("SELECT PRINT_SECTION FROM ZAKAZ_STR WHERE NAME_BLUDO = '%1'").arg(dish))
                       .toInt64().value_or(-1));
    }

    TestDatabase& db;
};
