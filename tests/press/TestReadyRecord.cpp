// Taking back what this monitor's "ready" presses changed: each line back to its state before
// the press, on the real server, and the record that knows which press changed which line.

#include "OrderRows.h"
#include "PressSql.h"
#include "ReadyRecord.h"
#include "TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestReadyRecord : public QObject {
    Q_OBJECT
private slots:
    void takeBack_data();
    void takeBack();
    void newestPressCounts();
};

void TestReadyRecord::takeBack_data()
{
    // The states before the press, the states now, the states after taking the press back.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("after");
    QTest::newRow("all shown before") << u"22"_s << u"33"_s << u"22"_s;
    QTest::newRow("new, shown and not yet sent before") << u"210"_s << u"333"_s << u"210"_s;
    QTest::newRow("changed meanwhile by the point of sale") << u"221"_s << u"313"_s << u"211"_s;
}

void TestReadyRecord::takeBack()
{
    QFETCH(QString, before);
    QFETCH(QString, now);
    QFETCH(QString, after);
    TestDatabase db;
    QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
    OrderRows rows(db, u"Петров Сергей"_s);
    rows.addOrder(100, 7);
    QList<PressSql::Back> lines;
    for (int i = 0; i < before.size(); ++i) {
        const QString dish = u"Блюдо %1"_s.arg(i);
        rows.addLine(100, 1, now.mid(i, 1).toInt(), dish);
        lines.append({*db.value(u"SELECT KOD FROM ZAKAZ_STR WHERE NAME_BLUDO = '%1'"_s.arg(dish)).toInt64(),
                      LineState(before.mid(i, 1).toInt())});
    }
    const PressSql::Statement back = PressSql::takeBack(lines);
    db.exec(back.sql.join(u'\n'), back.params);
    QString found;
    for (int i = 0; i < before.size(); ++i)
        found += QString::number(rows.stateOf(u"Блюдо %1"_s.arg(i)));
    QCOMPARE(found, after);
}

void TestReadyRecord::newestPressCounts()
{
    ReadyRecord record;
    record.record({7, u"7"_s, {{1, LineState::Shown, u"Уха"_s}, {2, LineState::Shown, u"Чай"_s}}});
    record.record({8, u"8"_s, {{3, LineState::Shown, u"Хлеб"_s}}});
    record.record({7, u"7"_s, {{1, LineState::New, u"Уха"_s}}}); // taken back meanwhile and marked again
    QCOMPARE(record.stateBefore(1), LineState::New);
    QCOMPARE(record.stateBefore(9), LineState::Shown); // not known: shown
    QCOMPARE(ReadyRecord::dishes(record.lastPress(7)->lines), QStringList{u"Уха"_s});
    record.takenBack({{1, LineState::New, u"Уха"_s}});
    // The order's press before that one is the last now, without the line taken back.
    QCOMPARE(ReadyRecord::dishes(record.lastPress(7)->lines), QStringList{u"Чай"_s});
    QCOMPARE(record.lastPress(8)->number, u"8"_s);
    QVERIFY(!record.lastPress(9));
    for (int i = 0; i < int(ReadyRecord::KeptPresses); ++i)
        record.record({100 + i, QString::number(100 + i), {{100 + i, LineState::Shown, u"Суп"_s}}});
    QVERIFY(!record.lastPress(8)); // the oldest presses make way
}

QTEST_MAIN(TestReadyRecord)
#include "TestReadyRecord.moc"
