// Design-size windows scaled to the screen, the column shares, and the radio groups.

#include "RadioGroup.h"
#include "Scaling.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class TestScaling : public QObject {
    Q_OBJECT
private slots:
    void wideScreen_data();
    void wideScreen();
    void sharesRoundHalfToEven_data();
    void sharesRoundHalfToEven();
    void scalesEverythingOnTheWindow();
    void identityLeavesWindowAlone();
    void radioGroupSelection();
};

void TestScaling::wideScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("wide");
    QTest::newRow("800x600") << QSize(800, 600) << false;
    QTest::newRow("1024x768") << QSize(1024, 768) << false;
    QTest::newRow("1280x1024") << QSize(1280, 1024) << false;
    QTest::newRow("1366x768") << QSize(1366, 768) << true;
    QTest::newRow("1280x800") << QSize(1280, 800) << true;
}

void TestScaling::wideScreen()
{
    QFETCH(QSize, screen);
    QFETCH(bool, wide);
    QCOMPARE(isWideScreen(screen), wide);
}

void TestScaling::sharesRoundHalfToEven_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("hundredths");
    QTest::addColumn<int>("width");
    QTest::newRow("38.5 down to even") << 770 << 5 << 38;
    QTest::newRow("115.5 up to even") << 770 << 15 << 116;
    QTest::newRow("331.1") << 770 << 43 << 331;
    QTest::newRow("361.9") << 770 << 47 << 362;
    QTest::newRow("2.5") << 10 << 25 << 2;
    QTest::newRow("3.5") << 14 << 25 << 4;
    QTest::newRow("exact") << 200 << 50 << 100;
}

void TestScaling::sharesRoundHalfToEven()
{
    QFETCH(int, base);
    QFETCH(int, hundredths);
    QFETCH(int, width);
    QCOMPARE(shareOf(base, hundredths), width);
}

void TestScaling::scalesEverythingOnTheWindow()
{
    QWidget window;
    window.resize(200, 100);
    QFont windowFont = window.font();
    windowFont.setPixelSize(10);
    window.setFont(windowFont);

    auto* box = new QGroupBox(&window);
    box->setGeometry(0, 0, 100, 50);
    auto* inner = new QLabel(box);
    inner->setGeometry(10, 10, 45, 17);
    QFont big = inner->font();
    big.setPixelSize(13);
    inner->setFont(big);
    auto* neighbour = new QLabel(&window);
    neighbour->setGeometry(100, 0, 100, 50);

    auto* grid = new QTableView(&window);
    grid->setGeometry(0, 50, 200, 50);
    auto* model = new QStandardItemModel(0, 2, grid);
    grid->setModel(model);
    grid->setColumnWidth(0, 100);
    grid->setColumnWidth(1, 50);

    scaleWindow(&window, {3, 2});

    QCOMPARE(window.size(), QSize(300, 150));
    QCOMPARE(window.font().pixelSize(), 15);
    QCOMPARE(box->geometry(), QRect(0, 0, 150, 75));
    QCOMPARE(inner->geometry(), QRect(15, 15, 68, 26)); // edges 10..55 and 10..27 scaled
    QCOMPARE(inner->font().pixelSize(), 20);            // 19.5 rounds away from zero
    // Widgets that touched at design size still touch.
    QCOMPARE(neighbour->geometry().left(), box->geometry().right() + 1);
    QCOMPARE(grid->geometry(), QRect(0, 75, 300, 75));
    QCOMPARE(grid->columnWidth(0), 150);
    QCOMPARE(grid->columnWidth(1), 75);
}

void TestScaling::identityLeavesWindowAlone()
{
    QWidget window;
    window.resize(805, 607);
    auto* child = new QLabel(&window);
    child->setGeometry(3, 5, 7, 11);
    scaleWindow(&window, {880, 880});
    QCOMPARE(window.size(), QSize(805, 607));
    QCOMPARE(child->geometry(), QRect(3, 5, 7, 11));
}

void TestScaling::radioGroupSelection()
{
    RadioGroup group(QStringLiteral("Вид"), {QStringLiteral("a"), QStringLiteral("b")}, 2, nullptr);
    QSignalSpy clicked(&group, &RadioGroup::clicked);
    QCOMPARE(group.itemIndex(), -1);
    group.setItemIndex(1);
    QCOMPARE(group.itemIndex(), 1);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toInt(), 1);
    group.setItemIndex(1); // no change, no click
    QCOMPARE(clicked.size(), 1);
    group.setItemIndex(5);
    QCOMPARE(group.itemIndex(), -1);
}

QTEST_MAIN(TestScaling)
#include "TestScaling.moc"
