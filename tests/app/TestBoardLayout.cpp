// The board laid out at each screen and text size: the full screen's frames and fonts, and the
// grids' columns, which cut no dish's name and no value at any size.

#include "BoardRig.h"
#include "PanelAges.h"

class TestBoardLayout : public QObject {
    Q_OBJECT
private slots:
    void fullScreenLayout_data();
    void fullScreenLayout();
    void groupColumnAndShares_data();
    void groupColumnAndShares();
};

void TestBoardLayout::fullScreenLayout_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QByteArray>("textSize");
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<int>("panelRows"); // of one line each, shown whole in a panel
    QTest::addColumn<int>("hotRows");   // and above the panels in the hot queue
    const struct {
        QSize screen;
        int rows[3][2]; // by text size
    } sizes[] = {
        {{1024, 600}, {{8, 8}, {5, 6}, {4, 4}}},
        {{1024, 768}, {{8, 8}, {6, 6}, {4, 5}}},
        {{1366, 768}, {{8, 8}, {6, 6}, {4, 5}}},
        {{1280, 1024}, {{9, 9}, {6, 6}, {5, 5}}},
        {{1920, 1080}, {{8, 8}, {6, 6}, {4, 4}}},
    };
    for (const auto& size : sizes)
        for (int text = 0; text < 3; ++text)
            QTest::addRow("%dx%d, text size %d", size.screen.width(), size.screen.height(), text)
                << size.screen << QByteArray::number(text) << QByteArray("Full") << size.rows[text][0] << size.rows[text][1];
    QTest::addRow("1024x768 window") << QSize(1024, 768) << QByteArray("0") << QByteArray("Window") << 8 << 8;
}

void TestBoardLayout::fullScreenLayout()
{
    QFETCH(QSize, screen);
    QFETCH(QByteArray, textSize);
    QFETCH(QByteArray, mode);
    QFETCH(int, panelRows);
    QFETCH(int, hotRows);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Screen.txt"), mode + "\r\n"));
    QVERIFY(putFile(dir.filePath("TextSize.txt"), textSize + "\r\n"));
    QVERIFY(putFile(dir.filePath("Gruppa.txt"), "1\r\n"));
    Board board(dir.path(), screen);
    Form_Main& main = *board.main;
    // An order in every panel, and the hot queue full.
    Rows rows;
    for (QTableView* grid : main.panelGrids()) {
        std::vector<Query::Row> lines;
        for (int i = 0; i < Names.size(); ++i)
            lines.push_back({DbValue::text(Names[i]), DbValue::integer(i == 3 ? 12 : 1)});
        rows.fill(grid, {u"NAME_BLUDO"_s, u"KOLVO"_s}, std::move(lines));
        grid->show();
    }
    std::vector<Query::Row> hot;
    for (int i = 0; i < Names.size(); ++i)
        hot.push_back({DbValue::integer(i == 3 ? 12 : 1), DbValue::text(Names[i]), DbValue::text(u"Горячее"_s),
                       DbValue::text(u"23:45:58"_s), DbValue::text(u"Стол 12"_s), DbValue::text(u"Петров Сергей"_s),
                       DbValue::integer(181 + i)});
    rows.fill(main.GHot, {u"KOLVO"_s, u"NAME_BLUDO"_s, u"NAME_GROUP"_s, u"TP"_s, u"INFO_ZAKAZ"_s, u"FIO"_s, u"NUMBER_ZAKAZ"_s},
              std::move(hot));
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // Every name that two lines hold is read whole, every quantity, time and number too, and
    // no part of a grid's width is left empty, once the grids have been painted with their rows.
    auto cut = [&main] { return cutBoardCells(main); };
    QTRY_VERIFY2(cut().isEmpty(), qPrintable(cut().join(u"; "_s)));

    QStringList problems;
    auto place = [&](const QWidget* w) { return QRect(w->mapTo(&main, QPoint(0, 0)), w->size()); };
    auto describe = [](const QWidget* w, const QRect& r) {
        return QStringLiteral("%1 at %2,%3 %4x%5").arg(w->objectName()).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QList<QWidget*> shown;
    for (QWidget* w : main.page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible())
            shown << w;
    for (const QWidget* w : shown)
        if (!QRect(QPoint(0, 0), screen).contains(place(w)))
            problems << describe(w, place(w)) + QStringLiteral(" leaves the screen");
    // Touch targets: tall enough for a finger, and clear of every other control.
    for (const QAbstractButton* button : main.page->findChildren<QAbstractButton*>()) {
        // A grid's corner is no button for a cook.
        if (!button->isVisible() || qobject_cast<QAbstractItemView*>(button->parentWidget()))
            continue;
        const QRect r = place(button);
        // Window mode keeps the section boxes as they always were; its buttons are touch targets.
        const bool target = mode == "Full" || qobject_cast<const QPushButton*>(button);
        if (target && (r.height() < 40 || r.width() < 40))
            problems << describe(button, r) + QStringLiteral(" is under 40 high or wide");
        QList<const QWidget*> others(shown.begin(), shown.end());
        for (const QAbstractButton* other : main.page->findChildren<QAbstractButton*>())
            if (!qobject_cast<QAbstractItemView*>(other->parentWidget()))
                others << other;
        for (const QWidget* other : others)
            if (other != button && !other->isAncestorOf(button) && other->isVisible() && place(other).intersects(r))
                problems << describe(button, r) + QStringLiteral(" overlaps ") + describe(other, place(other));
    }
    // Every grid shows whole rows down to what covers it: no row is cut through its letters.
    QList<QTableView*> grids{main.GHot};
    for (QTableView* grid : main.panelGrids())
        grids << grid;
    for (const QTableView* grid : grids) {
        const QRect shownPart = place(grid->viewport()).intersected(grid == main.GHot ? QRect(0, 0, screen.width(), place(main.GroupBox1).top()) : QRect(QPoint(0, 0), screen));
        const int row = grid->verticalHeader()->defaultSectionSize();
        if (shownPart.height() % row != 0)
            problems << QStringLiteral("%1 cuts a row: %2 high for rows of %3").arg(grid->objectName()).arg(shownPart.height()).arg(row);
    }
    // The panels are alike, and their captions grow with the names.
    for (int i = 0; i < 6; ++i) {
        const QGroupBox* box = main.panels()[size_t(i)];
        const QTableView* grid = main.panelGrids()[size_t(i)];
        if (box->width() != main.GroupBox2->width() || grid->width() != main.G2->width())
            problems << describe(box, place(box)) + QStringLiteral(" (grid %1) is not as wide as GroupBox2 (%2, grid %3)")
                                                        .arg(grid->width()).arg(main.GroupBox2->width()).arg(main.G2->width());
        // As large as the names, or the largest size at which a caption of the usual length and a
        // late order's age of two figures fit side by side.
        const QString caption = QStringLiteral("Кузнецов Дмитрий, № 131, Стол 12");
        QFont larger = box->font();
        larger.setPixelSize(larger.pixelSize() + 1);
        const bool largest = box->font().pixelSize() == grid->font().pixelSize()
                             || (box->font().pixelSize() < grid->font().pixelSize() && !PanelAges::fitsBeside(larger, caption, box->width()));
        if (!largest || grid->y() < box->fontMetrics().height() || !PanelAges::fitsBeside(box->font(), caption, box->width()))
            problems << describe(box, place(box)) + QStringLiteral(" has a caption of %1 px that does not grow or fit").arg(box->font().pixelSize());
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    const int hotShown = place(main.GroupBox1).top() - place(main.GHot->viewport()).top();
    qInfo("%dx%d %s, text size %s: rows of %d px, %d in a panel, %d in the hot queue; cap height of names %d px, "
          "of captions %d px", screen.width(), screen.height(), mode.constData(), textSize.constData(),
          main.G1->verticalHeader()->defaultSectionSize(), main.G1->viewport()->height() / main.G1->verticalHeader()->defaultSectionSize(),
          hotShown / main.GHot->verticalHeader()->defaultSectionSize(), QFontMetrics(main.G1->font()).capHeight(),
          main.GroupBox1->fontMetrics().capHeight());
    QCOMPARE(main.G1->viewport()->height() / main.G1->verticalHeader()->defaultSectionSize(), panelRows);
    QCOMPARE(hotShown / main.GHot->verticalHeader()->defaultSectionSize(), hotRows);
    if (mode != "Full")
        return; // a window scales to the room the desktop leaves it
    // Larger text, fewer rows: the names grow by the setting's share.
    const int percent = textSize == "2" ? 180 : textSize == "1" ? 140 : 100;
    const bool byHeight = screen.width() * 600 > screen.height() * 800;
    const int m = byHeight ? screen.height() : screen.width(), d = byHeight ? 600 : 800;
    QCOMPARE(main.G1->font().pixelSize(), ((13 * m + d / 2) / d * percent + 50) / 100);
}
void TestBoardLayout::groupColumnAndShares_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QList<int>>("widths"); // shares of the dish, group, information and waiter columns
    const QList<int> withGroup{36, 12, 12, 12};
    const QList<int> withoutGroup{40, 0, 16, 16};
    QTest::newRow("1") << QByteArray("1\r\n") << true << withGroup;
    QTest::newRow("0") << QByteArray("0\r\n") << false << withoutGroup;
    QTest::newRow("2") << QByteArray("2\r\n") << false << withoutGroup;
    QTest::newRow("1 and a blank") << QByteArray("1 \r\n") << false << withoutGroup;
    QTest::newRow("empty") << QByteArray() << false << withoutGroup;
}

void TestBoardLayout::groupColumnAndShares()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, shown);
    QFETCH(QList<int>, widths);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Gruppa.txt"), stored));
    Board board(dir.path());
    const Form_Main& main = *board.main;

    QCOMPARE(main.GHot->isColumnHidden(2), !shown);
    // The texts share by their shares what the quantity, serving time, order number and
    // minutes leave, each of those as wide as its title.
    const int shared[] = {1, 2, 4, 5};
    for (int i = 1; i < 4; ++i) // within a pixel of its share against the waiter's; the dish takes what is over
        if (widths[i] > 0)
            QVERIFY(qAbs(main.GHot->columnWidth(shared[i]) * widths[3] - main.GHot->columnWidth(5) * widths[i]) <= widths[i] + widths[3]);
    QVERIFY(main.GHot->columnWidth(1) * widths[3] >= main.GHot->columnWidth(5) * widths[0]);
    const QFontMetrics titles(main.GHot->horizontalHeader()->font());
    for (int column : {0, 3, 6, 7}) {
        const int title = titles.horizontalAdvance(main.GHot->model()->headerData(column, Qt::Horizontal).toString());
        QVERIFY(main.GHot->columnWidth(column) > title && (column == 7 || main.GHot->columnWidth(column) < title + 20));
    }
    int across = 0;
    for (int column = 0; column < main.GHot->model()->columnCount(); ++column)
        across += main.GHot->isColumnHidden(column) ? 0 : main.GHot->columnWidth(column);
    QCOMPARE(across, main.GHot->width() - 2 * main.GHot->frameWidth() - main.GHot->verticalHeader()->width());
    // Empty panels: the name takes all but the room of two figures for the quantity and of a
    // dish 99 minutes late for the minutes, which turn with the server's clock.
    QFont bold = main.G1->font();
    bold.setBold(true);
    for (QTableView* grid : main.panelGrids()) {
        QVERIFY(grid->columnWidth(2) > QFontMetrics(bold).horizontalAdvance(u"!\u221299"_s));
        QVERIFY(grid->columnWidth(1) < grid->columnWidth(2));
        QCOMPARE(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2), grid->width() - 2 * grid->frameWidth());
    }
    QCOMPARE(fileBytes(dir.filePath("Gruppa.txt")), stored);
}

QTEST_MAIN(TestBoardLayout)
#include "TestBoardLayout.moc"
