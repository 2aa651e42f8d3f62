// The board's creation step: the settings files it creates and reads, its display mode, its
// scaling for the screen, its column shares and its first showing.

#include "AppState.h"
#include "FileBytes.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "Form_Main.h"
#include "Forms.h"
#include "OrderBoard.h"
#include "Database.h"
#include "Query.h"
#include "QueryModel.h"
#include "Transaction.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QCloseEvent>
#include <QTest>
#include <QWindow>
#include "BoardRig.h"

using namespace Qt::StringLiterals;

class TestFormMain : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesItsFiles();
    void screenFileIsRepaired_data();
    void screenFileIsRepaired();
    void fullScreenFillsTheScreen_data();
    void fullScreenFillsTheScreen();
    void windowModeScalesToTheScreen_data();
    void windowModeScalesToTheScreen();
    void controlsFitAfterScaling_data();
    void controlsFitAfterScaling();
    void sectionFileTicksBoxes_data();
    void sectionFileTicksBoxes();
    void unwritableFolderIsReported();
    void firstShowCentresOnce();
    void sectionClickRewritesFileOnceReady();
    void exitAsksFirst();
    void enterPressesTheFocusedButton();
};

void TestFormMain::firstStartCreatesItsFiles()
{
    QTemporaryDir dir;
    Board board(dir.path());
    const Form_Main& main = *board.main;

    QCOMPARE(fileBytes(dir.filePath("Screen.txt")), QByteArray("Window\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Net.txt")),
             QByteArray("Local\r\nlocalhost:C:\\Program Files\\Parvolin\\dishbase.fdb\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray("1\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Gruppa.txt")), QByteArray("0\r\n"));
    QCOMPARE(fileBytes(dir.filePath("TextSize.txt")), QByteArray("0\r\n"));
    QVERIFY(fileBytes(dir.filePath("Keys.txt")).startsWith("Order1 1\r\n"));
    // With the sound and idle files, all read once at the same start.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 9);

    QCOMPARE(main.windowTitle(), Form_Main::Caption);
    QVERIFY(!main.isFullScreenMode());
    QVERIFY(!(main.windowFlags() & Qt::FramelessWindowHint));
    QCOMPARE(ticked(main), QList<int>{1});
    QVERIFY(main.GHot->isColumnHidden(2));
    QVERIFY(board.dialogs.messages.isEmpty());

    QVERIFY(board.state.AtDesignSize);
    QVERIFY(!board.state.FormsReady);
    QCOMPARE(board.state.PageFirst, 1);
    QVERIFY(!main.board().AllOrders);
    QVERIFY(!board.state.HotExpanded);
    QCOMPARE(board.state.HotNormalHeight, 185);
    for (QTableView* grid : main.panelGrids())
        QVERIFY(grid->isHidden());
    QVERIFY(main.PanelSound->isHidden());
    QVERIFY(!main.BtnLimit->isEnabled());
    QVERIFY(!main.IdleTimer.isActive());
    QCOMPARE(main.BtnAll->text(), QStringLiteral("Все"));
}

void TestFormMain::screenFileIsRepaired_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("Full") << QByteArray("Full\r\n") << true << QByteArray("Full\r\n");
    QTest::newRow("Full without line end") << QByteArray("Full") << true << QByteArray("Full");
    QTest::newRow("Window") << QByteArray("Window\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("lower case") << QByteArray("full\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("leading blank") << QByteArray(" Full\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("trailing blank") << QByteArray("Full \r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("window lower case") << QByteArray("window\r\n") << false << QByteArray("Window\r\n");
    QTest::newRow("empty") << QByteArray() << false << QByteArray("Window\r\n");
}

void TestFormMain::screenFileIsRepaired()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, full);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Screen.txt"), stored));
    Board board(dir.path());
    QCOMPARE(board.main->isFullScreenMode(), full);
    QCOMPARE(fileBytes(dir.filePath("Screen.txt")), after);
    QCOMPARE(board.display.requests.size(), full ? 1 : 0);
}

void TestFormMain::fullScreenFillsTheScreen_data()
{
    // The 800x600 that the display mode shows, stretched to the whole screen; its type grows
    // by m / d, the smaller of the two ratios.
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::newRow("a display that switched") << QSize(800, 600) << 1 << 1;
    QTest::newRow("1024x768, exactly") << QSize(1024, 768) << 1024 << 800;
    QTest::newRow("1920x1080, wider") << QSize(1920, 1080) << 1080 << 600;
    QTest::newRow("1366x768, odd width") << QSize(1366, 768) << 768 << 600;
    QTest::newRow("1024x600, no taller than the design") << QSize(1024, 600) << 1 << 1;
    QTest::newRow("1280x1024, taller") << QSize(1280, 1024) << 1280 << 800;
}

void TestFormMain::fullScreenFillsTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(int, m);
    QFETCH(int, d);
    auto type = [&](int v) { return int((qint64(v) * m + d / 2) / d); };
    auto down = [&](int v) { return int((qint64(v) * screen.height() + 300) / 600); };
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Screen.txt"), "Full\r\n"));
    Board board(dir.path(), screen);
    const Form_Main& main = *board.main;

    QCOMPARE(board.display.requests.size(), 1);
    QCOMPARE(board.display.requests[0].width, 800);
    QCOMPARE(board.display.requests[0].height, 600);
    QCOMPARE(board.display.requests[0].bitsPerPixel, 16);
    QVERIFY(main.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(main.windowState() & Qt::WindowFullScreen);
    QCOMPARE(main.size(), screen);
    QCOMPARE(main.page->pos(), QPoint(0, 0));
    QCOMPARE(main.GHot->geometry(), QRect(0, 0, screen.width(), down(185)));
    QCOMPARE(main.GroupBox6->geometry().right(), screen.width() - 1);
    // The row of buttons reaches the screen's corner.
    QCOMPARE(main.BtnExit->geometry().bottomRight(), QPoint(screen.width() - 1, screen.height() - 1));
    QCOMPARE(main.BtnNet->geometry().bottom(), screen.height() - 1);
    QCOMPARE(main.G1->font().pixelSize(), type(13));
}

void TestFormMain::windowModeScalesToTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::newRow("1024x768 by width") << QSize(1024, 768) << 1024 << 880;
    QTest::newRow("1366x768 by height") << QSize(1366, 768) << 768 << 680;
    QTest::newRow("1280x1024 by width") << QSize(1280, 1024) << 1280 << 880;
    QTest::newRow("800x600 shrinks") << QSize(800, 600) << 800 << 880;
}

void TestFormMain::windowModeScalesToTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(int, m);
    QFETCH(int, d);
    auto scaled = [&](int v) { return int((qint64(v) * m + d / 2) / d); };
    QTemporaryDir dir;
    Board board(dir.path(), screen);
    const Form_Main& main = *board.main;

    QCOMPARE(main.size(), QSize(scaled(805), scaled(607)));
    QCOMPARE(main.GHot->width(), scaled(800));
    QCOMPARE(main.GHot->height(), scaled(185));
    QCOMPARE(board.state.HotNormalHeight, scaled(185));
    QCOMPARE(main.BtnExit->geometry(),
             QRect(scaled(759), scaled(555), scaled(800) - scaled(759), scaled(592) - scaled(555)));
    // Panels alike: where rounding made the first narrower, the last moves over by a pixel.
    QVERIFY(qAbs(main.GroupBox6->x() - scaled(534)) <= 1);
    QCOMPARE(main.GroupBox6->y(), scaled(368));
    QCOMPARE(main.GroupBox6->width(), main.GroupBox1->width());
    QCOMPARE(main.G1->font().pixelSize(), scaled(13));
    QCOMPARE(main.PanelSound->font().pixelSize(), scaled(32));
    QCOMPARE(main.GHot->horizontalHeader()->font().pixelSize(), scaled(11));
    // The hot queue's columns take its scaled width, none of it left empty.
    int across = 0;
    for (int column = 0; column < main.GHot->model()->columnCount(); ++column)
        across += main.GHot->isColumnHidden(column) ? 0 : main.GHot->columnWidth(column);
    QCOMPARE(across, main.GHot->width() - 2 * main.GHot->frameWidth() - main.GHot->verticalHeader()->width());
}

void TestFormMain::controlsFitAfterScaling_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("800x600") << QSize(800, 600);
    QTest::newRow("1024x768") << QSize(1024, 768);
    QTest::newRow("1366x768") << QSize(1366, 768);
    QTest::newRow("design size") << DesignScreen;
}

void TestFormMain::controlsFitAfterScaling()
{
    QFETCH(QSize, screen);
    QTemporaryDir dir;
    Board board(dir.path(), screen);
    Form_Main& main = *board.main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // Every name that two lines hold is read whole, every quantity, time and number too, and
    // no part of a grid's width is left empty, once the grids have been painted with their rows.
    auto cut = [&main] { return cutBoardCells(main); };
    QTRY_VERIFY2(cut().isEmpty(), qPrintable(cut().join(u"; "_s)));

    QStringList problems;
    // The section boxes lie inside their frame, below its title, each as tall as it needs.
    QStyleOptionGroupBox frame;
    frame.initFrom(main.GB_Section);
    frame.text = main.GB_Section->title();
    frame.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    QStyle* style = main.GB_Section->style();
    const QRect title = style->subControlRect(QStyle::CC_GroupBox, &frame, QStyle::SC_GroupBoxLabel, main.GB_Section);
    const QRect inside = style->subControlRect(QStyle::CC_GroupBox, &frame, QStyle::SC_GroupBoxFrame, main.GB_Section)
                             .adjusted(1, 1, -1, -1);
    for (QCheckBox* box : main.sectionBoxes()) {
        const QRect g = box->geometry();
        if (!inside.contains(g) || g.top() <= title.bottom() || g.height() < box->sizeHint().height())
            problems << QStringLiteral("%1 at %2,%3 %4x%5 (needs %6 high) under a title to %7 in %8,%9 %10x%11")
                            .arg(box->objectName()).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                            .arg(box->sizeHint().height()).arg(title.bottom()).arg(inside.x()).arg(inside.y())
                            .arg(inside.width()).arg(inside.height());
    }
    // A picture and its caption keep clear of their button's edges.
    for (QPushButton* button : main.findChildren<QPushButton*>()) {
        if (button->text().isEmpty())
            continue;
        QStyleOptionButton option;
        option.initFrom(button);
        const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        const int needed = button->iconSize().width() + 4 + button->fontMetrics().horizontalAdvance(button->text()) + 4;
        if (needed > room)
            problems << QStringLiteral("\"%1\" needs %2 of %3").arg(button->text()).arg(needed).arg(room);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}


void TestFormMain::sectionFileTicksBoxes_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QList<int>>("sections");
    QTest::newRow("empty") << QByteArray() << QList<int>{};
    QTest::newRow("repeats and strangers") << QByteArray("3\r\n3\r\n9\r\n") << QList<int>{3};
    QTest::newRow("3 7 3") << QByteArray("3\r\n7\r\n3\r\n") << QList<int>{3};
    QTest::newRow("all five unordered") << QByteArray("5\r\n1\r\n4\r\n2\r\n3\r\n") << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("LF only, no last end") << QByteArray("2\n4") << QList<int>{2, 4};
    QTest::newRow("blanks count") << QByteArray(" 2\r\n2 \r\n02\r\n") << QList<int>{};
}

void TestFormMain::sectionFileTicksBoxes()
{
    QFETCH(QByteArray, stored);
    QFETCH(QList<int>, sections);
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Section.txt"), stored));
    Board board(dir.path());
    QCOMPARE(ticked(*board.main), sections);
    // Ticking at start does not rewrite the file.
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), stored);
}

void TestFormMain::unwritableFolderIsReported()
{
    QTemporaryDir dir;
    Board board(dir.filePath("no-such-folder"));
    // Each file that could not be made is told (the start shows them in one box), and the board
    // works on with the defaults.
    QCOMPARE(board.problems.size(), 8);
    QVERIFY(board.problems[0].contains("Screen.txt"));
    QVERIFY(board.dialogs.messages.isEmpty());
    QCOMPARE(ticked(*board.main), QList<int>{1});
}

void TestFormMain::firstShowCentresOnce()
{
    QTemporaryDir dir;
    Board board(dir.path(), QSize(1280, 1024));
    Form_Main& main = *board.main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const QSize frame = main.frameGeometry().size();
    QCOMPARE(main.frameGeometry().topLeft(), QPoint((1280 - frame.width()) / 2, (1024 - frame.height()) / 2));

    main.move(5, 5);
    main.hide();
    main.show();
    QCOMPARE(main.pos(), QPoint(5, 5));
}

void TestFormMain::sectionClickRewritesFileOnceReady()
{
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("Section.txt"), "3\r\n"));
    Board board(dir.path());
    board.main->CB_S5->setChecked(true); // still starting up: the file is left alone
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray("3\r\n"));

    board.state.FormsReady = true;
    board.main->CB_S1->setChecked(true);
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray("1\r\n3\r\n5\r\n"));
    board.main->CB_S1->setChecked(false);
    board.main->CB_S3->setChecked(false);
    board.main->CB_S5->setChecked(false);
    QCOMPARE(fileBytes(dir.filePath("Section.txt")), QByteArray());
}

void TestFormMain::exitAsksFirst()
{
    // The exit button, then the window's close box.
    for (bool closeBox : {false, true}) {
        QTemporaryDir dir;
        Board board(dir.path());
        board.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.main.get()));
        board.dialogs.answers << false << true;
        for (bool closed : {false, true}) {
            if (closeBox) { // as the window system delivers it
                QCloseEvent close;
                QCoreApplication::sendEvent(board.main->windowHandle(), &close);
            } else
                QTest::mouseClick(board.main->BtnExit, Qt::LeftButton);
            QCOMPARE(board.main->isClosed(), closed);
        }
        // Cancel is focused: Enter does not end the service.
        QCOMPARE(board.dialogs.questions.value(1), Form_Main::Caption + u'|' + Form_Main::ExitQuestion);
        QCOMPARE(board.dialogs.focused, QList<Dialogs::Focus>(2, Dialogs::Focus::Cancel));
    }
}

void TestFormMain::enterPressesTheFocusedButton()
{
    QTemporaryDir dir;
    Board board(dir.path());
    board.main->show();
    QVERIFY(QTest::qWaitForWindowActive(board.main.get()));
    // A keyboard's Tab gave it the focus (a focus that moved there by itself takes no Enter).
    board.main->BtnAll->setFocus(Qt::TabFocusReason);
    QSignalSpy clicked(board.main->BtnAll, &QPushButton::clicked);
    QTest::keyClick(board.main->BtnAll, Qt::Key_Return);
    QCOMPARE(clicked.size(), 1);
}

QTEST_MAIN(TestFormMain)
#include "TestFormMain.moc"
