// The cook's choice at the board: moving over orders and dishes, and what a re-read of the board
// does to it.

#include "BoardChoice.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QList<qint64> keys(const QString& text)
{
    QList<qint64> out;
    for (const QString& key : text.split(u',', Qt::SkipEmptyParts))
        out << key.toLongLong();
    return out;
}
}

class TestBoardChoice : public QObject {
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
};

void TestBoardChoice::steps_data()
{
    // Steps: "orders:1,2,3" and "dishes:11,12" re-read the board, "at:N" chooses the order at
    // index N, "dish:K" the dish K, "order:+1" / "dish:-1" step from the page starting at `page`,
    // "drop". The result is "order/dish" (a dash for none) and the chosen order's page.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("page");
    const QString eight = u"orders:1,2,3,4,5,6,7,8 "_s;
    QTest::newRow("first order of the page") << eight + u"order:+1 dishes:11,12"_s << u"1/11"_s << 1;
    QTest::newRow("back from nothing: last of the page") << eight + u"order:-1"_s << u"6/-"_s << 1;
    QTest::newRow("across the page") << eight + u"at:5 order:+1 order:+1"_s << u"8/-"_s << 7;
    QTest::newRow("stops at the last order") << eight + u"at:7 order:+1"_s << u"8/-"_s << 7;
    QTest::newRow("stops at the first order") << eight + u"at:0 order:-1"_s << u"1/-"_s << 1;
    QTest::newRow("a dish key chooses the page's first order") << eight + u"dish:+1 dishes:11,12"_s << u"1/11"_s << 1;
    QTest::newRow("dishes down and up") << eight + u"at:0 dishes:11,12,13 dish:+1 dish:+1 dish:+1 dish:-1"_s << u"1/12"_s << 1;
    QTest::newRow("touched dish") << eight + u"at:2 dishes:31,32 dish:32"_s << u"3/32"_s << 1;
    QTest::newRow("a dish not listed is not chosen") << eight + u"at:2 dishes:31,32 dish:99"_s << u"3/31"_s << 1;
    // A poll with the same order and dish keeps both, wherever the order now stands.
    QTest::newRow("kept across a poll") << eight + u"at:6 dishes:71,72 dish:72 orders:1,7,8 dishes:70,71,72"_s << u"7/72"_s << 1;
    QTest::newRow("gone order: the next one") << eight + u"at:2 dishes:31 orders:1,2,4,5"_s << u"4/-"_s << 1;
    QTest::newRow("gone order and its followers: the one before") << eight + u"at:6 orders:1,2,3"_s << u"3/-"_s << 1;
    QTest::newRow("every order gone") << eight + u"at:3 orders:"_s << u"-/-"_s << 1;
    QTest::newRow("gone dish: the next one") << eight + u"at:0 dishes:11,12,13 dish:12 dishes:11,13"_s << u"1/13"_s << 1;
    QTest::newRow("gone last dish: the one before") << eight + u"at:0 dishes:11,12,13 dish:13 dishes:11,12"_s << u"1/12"_s << 1;
    QTest::newRow("gone dish of a new order: its first") << eight + u"at:0 dishes:11 orders:2,3 dishes:21,22"_s << u"2/21"_s << 1;
    QTest::newRow("dropped") << eight + u"at:1 dishes:21 drop orders:1,2"_s << u"-/-"_s << 1;
    QTest::newRow("out of range") << eight + u"at:8"_s << u"-/-"_s << 1;
}

void TestBoardChoice::steps()
{
    QFETCH(QString, steps);
    QFETCH(QString, chosen);
    QFETCH(int, page);
    BoardChoice choice;
    int pageFirst = 1;
    for (const QString& step : steps.split(u' ')) {
        const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
        if (verb == u"orders")
            choice.setOrders(keys(arg));
        else if (verb == u"dishes")
            choice.setDishes(keys(arg));
        else if (verb == u"at")
            choice.chooseOrderAt(arg.toInt());
        else if (verb == u"order")
            choice.stepOrder(arg.toInt(), pageFirst);
        else if (verb == u"dish" && (arg.startsWith(u'+') || arg.startsWith(u'-')))
            choice.stepDish(arg.toInt(), pageFirst);
        else if (verb == u"dish")
            choice.chooseDish(arg.toLongLong());
        else if (verb == u"drop")
            choice.drop();
        if (choice.active())
            pageFirst = BoardChoice::pageFirstOf(choice.orderIndex());
    }
    auto text = [](std::optional<qint64> key) { return key ? QString::number(*key) : u"-"_s; };
    QCOMPARE(text(choice.order()) + u'/' + text(choice.dish()), chosen);
    QCOMPARE(pageFirst, page);
}

QTEST_APPLESS_MAIN(TestBoardChoice)
#include "TestBoardChoice.moc"
