#pragma once
// The rows the database tests start from and the lines they add: a waiter (key 1), an open
// shift (10) and a closed one (11), orders in them, and order lines found again by their dish.

#include "TestDatabase.h"

#include <QObject>
#include <QTest>
#include <QVariant>
#include <memory>

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

// The set-up the order window, press and key tests share: a fresh database with the waiter
// Петров Сергей, and, for the order tests, his order 100 (№ 7, Стол 4) with the serving-time
// window in reach. Call from init(); a database that cannot be made fails the test there.
class OrderTest : public QObject {
protected:
    void startDatabase()
    {
        m_db = std::make_unique<TestDatabase>();
        QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
        m_rows = std::make_unique<OrderRows>(*m_db, QStringLiteral("Петров Сергей"));
    }
    void startOrder()
    {
        startDatabase();
        if (QTest::currentTestFailed())
            return;
        m_rows->addOrder(100, 7, QStringLiteral("Стол 4"));
        m_db->exec(QStringLiteral("INSERT INTO MY_PARAM (KOD, NAME_PARAM) VALUES (1, 'time_monitor')"));
    }
    // A line of an order, 100 unless told; timing is MY_TIME, MY_ALARM, START_TIME, END_TIME as SQL.
    void addLine(int section, int state, const QString& dish,
                 const QString& timing = QStringLiteral("20, 5, DATEADD(-30 MINUTE TO CURRENT_TIMESTAMP), NULL"),
                 int order = 100)
    {
        m_rows->addLine(order, section, state, dish, timing);
    }
    int stateOf(const QString& dish) { return m_rows->stateOf(dish); }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<OrderRows> m_rows;
};
