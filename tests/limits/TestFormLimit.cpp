// The limit window against the real server: browsing sections with the delayed reload, the
// search by name, clearing a limit, the minimum read at each showing, and the board's button.

#include "FakeMachine.h"
#include "Form_Main.h"
#include "LimitRig.h"
#include "ProgramWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace LimitData;

class TestFormLimit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void quickSectionMovesReloadOnce();
    void search_data();
    void search();
    void tickingSearchKeepsListUntilReload();
    void clearLimitKeepsItemCurrent();
    void minimumIsReadAtEachShowing();
    void noOpenShift();
    void enterPressesFocusedButton();
    void boardButtonOpensWindow();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestFormLimit::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    create(*m_db);
}

void TestFormLimit::init()
{
    resetLimits(*m_db);
}

void TestFormLimit::quickSectionMovesReloadOnce()
{
    LimitRig rig(*m_db);
    QVERIFY(rig.show());
    // The open shift's sections in the menu's order; the first is current and its items listed.
    QTableView* sections = rig.limit->GridRazdel;
    QStringList names;
    for (int i = 0; i < sections->model()->rowCount(); ++i)
        names << sections->model()->index(i, 0).data().toString();
    QCOMPARE(names, QStringList({u"Салаты"_s, u"Супы"_s, u"Горячее"_s, u"Десерты"_s, u"Пусто"_s}));
    QCOMPARE(sections->currentIndex().row(), 0);
    QCOMPARE(rig.items(), QSet<qint64>({Olivier, Artagnan, Caesar}));
    QCOMPARE(rig.loads, 1);

    rig.loads = 0;
    // Key presses with no event loop in between are well under 200 ms apart.
    for (int row = 1; row <= 3; ++row) {
        QTest::keyClick(sections, Qt::Key_Down);
        QCOMPARE(rig.menu.QMenuGroup.recNo(), row);
        QVERIFY(!rig.limit->GridStr->isEnabled());
        QVERIFY(rig.menu.TimerMenuStr.isActive());
    }
    QCOMPARE(rig.loads, 0);
    QVERIFY(rig.reloaded());
    QCOMPARE(rig.loads, 1);
    QCOMPARE(rig.items(), QSet<qint64>{Napoleon});

    // A click on a section is a move too.
    QTest::mouseClick(sections->viewport(), Qt::LeftButton, {},
                      sections->visualRect(sections->model()->index(1, 0)).center());
    QVERIFY(!rig.limit->GridStr->isEnabled());
    QVERIFY(rig.reloaded());
    QCOMPARE(rig.loads, 2);
    QCOMPARE(rig.items(), QSet<qint64>({Borsch, GreenBorsch, BorschGreen, Ukha}));

    // Each move starts the wait afresh.
    QTest::keyClick(sections, Qt::Key_Down);
    QTest::qWait(100);
    QTest::keyClick(sections, Qt::Key_Down);
    QVERIFY(rig.menu.TimerMenuStr.remainingTime() > 150);
}

void TestFormLimit::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSet<qint64>>("found");
    const QSet<qint64> all{Borsch, GreenBorsch, BorschGreen, Ukha, Olivier, Artagnan, Caesar, Pilaf, Napoleon};
    QTest::newRow("lower case, any case found, only this shift's menu")
        << u"борщ"_s << QSet<qint64>{Borsch, GreenBorsch, BorschGreen};
    QTest::newRow("ё") << u"зелён"_s << QSet<qint64>{GreenBorsch, BorschGreen};
    QTest::newRow("empty lists the whole menu") << QString() << all;
    QTest::newRow("quote") << u"д'арт"_s << QSet<qint64>{Artagnan};
    QTest::newRow("quote cannot change the statement") << u"' OR ''='"_s << QSet<qint64>{};
    QTest::newRow("underscore is a pattern character") << u"б_рщ"_s << QSet<qint64>{Borsch, GreenBorsch, BorschGreen};
    QTest::newRow("percent is a pattern character") << u"%"_s << all;
    QTest::newRow("typed percent") << u"ь_100%"_s << QSet<qint64>{Caesar};
    QTest::newRow("longer than any name") << QString(99, u'я') << QSet<qint64>{};
    QTest::newRow("long pattern") << QString(150, u'%') + u"борщ"_s << QSet<qint64>{Borsch, GreenBorsch, BorschGreen};
}

void TestFormLimit::search()
{
    QFETCH(QString, text);
    QFETCH(QSet<qint64>, found);
    LimitRig rig(*m_db);
    QVERIFY(rig.show());
    QTest::mouseClick(rig.limit->CB_Context, Qt::LeftButton, {}, QPoint(5, rig.limit->CB_Context->height() / 2));
    QVERIFY(rig.limit->CB_Context->isChecked());
    QVERIFY(rig.reloaded());
    rig.limit->Edit1->setText(text);
    QTest::keyClick(rig.limit->Edit1, Qt::Key_End);
    QVERIFY(!rig.limit->GridStr->isEnabled());
    QVERIFY(rig.reloaded());
    QCOMPARE(rig.items(), found);
    QVERIFY(rig.dialogs.messages.isEmpty());
    // A key released here and pressed elsewhere (the Enter that closed a box) reloads nothing.
    QTest::keyRelease(rig.limit->Edit1, Qt::Key_Return);
    QVERIFY(!rig.menu.TimerMenuStr.isActive());
}

void TestFormLimit::tickingSearchKeepsListUntilReload()
{
    LimitRig rig(*m_db);
    QVERIFY(rig.show());
    Form_Limit& w = *rig.limit;
    w.Edit1->setText(u"плов"_s);
    QVERIFY(!w.Edit1->isEnabled());
    rig.loads = 0;
    w.CB_Context->setChecked(true);
    // Search mode at once, the old list and a usable grid until the reload.
    QVERIFY(w.Edit1->isEnabled());
    QCOMPARE(w.focusWidget(), w.Edit1);
    QVERIFY(!w.GridRazdel->isEnabled());
    QVERIFY(w.GridStr->isEnabled());
    QCOMPARE(rig.items(), QSet<qint64>({Olivier, Artagnan, Caesar}));
    QVERIFY(rig.reloaded());
    QCOMPARE(rig.loads, 1);
    QCOMPARE(rig.items(), QSet<qint64>{Pilaf});

    // Back to the sections: the current section's items again, and the text kept.
    w.CB_Context->setChecked(false);
    QVERIFY(w.GridRazdel->isEnabled() && !w.Edit1->isEnabled());
    QVERIFY(rig.reloaded());
    QCOMPARE(rig.items(), QSet<qint64>({Olivier, Artagnan, Caesar}));
    QCOMPARE(w.Edit1->text(), u"плов"_s);
}

void TestFormLimit::clearLimitKeepsItemCurrent()
{
    LimitRig rig(*m_db);
    QVERIFY(rig.show());
    QTest::keyClick(rig.limit->GridRazdel, Qt::Key_Down);
    QVERIFY(rig.reloaded());
    rig.selectItem(GreenBorsch);
    QCOMPARE(rig.currentCell(3), u"4"_s);

    rig.dialogs.answers = {false};
    QTest::mouseClick(rig.limit->Btn_ClearLimit, Qt::LeftButton);
    QCOMPARE(rig.dialogs.questions, QStringList{u"ВНИМАНИЕ !|Убрать лимит с указанного блюда ?"_s});
    QCOMPARE(m_db->value(u"SELECT LIMIT FROM MENU_STR WHERE KOD = 102"_s).toDouble(), std::optional(4.0));

    rig.dialogs.answers = {true};
    QTest::mouseClick(rig.limit->Btn_ClearLimit, Qt::LeftButton);
    QVERIFY(m_db->value(u"SELECT LIMIT FROM MENU_STR WHERE KOD = 102"_s).isNull());
    QCOMPARE(rig.menu.currentMenuItem(), GreenBorsch);
    QCOMPARE(rig.limit->GridStr->currentIndex().row(), rig.menu.QMenuStr.recNo());
    QCOMPARE(rig.currentCell(0), u"БОРЩ ЗЕЛЁНЫЙ"_s);
    QCOMPARE(rig.currentCell(3), QString());
    // Only the one item changed.
    QCOMPARE(limitedItems(*m_db), 1);
    QVERIFY(rig.dialogs.messages.isEmpty());
}

void TestFormLimit::minimumIsReadAtEachShowing()
{
    LimitRig rig(*m_db);
    auto reshow = [&] {
        rig.limit->hide();
        return rig.show();
    };
    QVERIFY(rig.show());
    QVERIFY(!rig.state.MinLimitOn);
    QCOMPARE(rig.state.MinLimit, 0.0);

    m_db->exec(u"INSERT INTO MY_PARAM (NAME_PARAM) VALUES ('limit_min1')"_s);
    m_db->exec(u"INSERT INTO MY_PARAM (NAME_PARAM, FLOAT_PARAM) VALUES ('limit_min2', 2.5)"_s);
    QVERIFY(reshow());
    QVERIFY(rig.state.MinLimitOn);
    QCOMPARE(rig.state.MinLimit, 2.5);

    // Once found, the switch stays on for the run; the value follows its row while it exists.
    m_db->exec(u"DELETE FROM MY_PARAM WHERE NAME_PARAM = 'limit_min1'"_s);
    m_db->exec(u"UPDATE MY_PARAM SET FLOAT_PARAM = 4 WHERE NAME_PARAM = 'limit_min2'"_s);
    QVERIFY(reshow());
    QVERIFY(rig.state.MinLimitOn);
    QCOMPARE(rig.state.MinLimit, 4.0);

    m_db->exec(u"DELETE FROM MY_PARAM WHERE NAME_PARAM = 'limit_min2'"_s);
    QVERIFY(reshow());
    QCOMPARE(rig.state.MinLimit, 4.0);

    m_db->exec(u"INSERT INTO MY_PARAM (NAME_PARAM) VALUES ('limit_min2')"_s);
    QVERIFY(reshow());
    QCOMPARE(rig.state.MinLimit, 0.0);
    QVERIFY(rig.dialogs.messages.isEmpty());
}

void TestFormLimit::noOpenShift()
{
    LimitRig rig(*m_db);
    QVERIFY(rig.show());
    rig.limit->hide();
    m_db->exec(u"UPDATE SMENA SET STATUS = 10 WHERE KOD = 2"_s);
    rig.loads = 0;
    rig.limit->show();
    // No section, no move, no reload: the items grid keeps what it had.
    QCOMPARE(rig.limit->GridRazdel->model()->rowCount(), 0);
    QVERIFY(!rig.menu.TimerMenuStr.isActive());
    QCOMPARE(rig.items(), QSet<qint64>({Olivier, Artagnan, Caesar}));

    // A search finds nothing without a menu; clearing a limit then changes no row.
    rig.limit->CB_Context->setChecked(true);
    rig.limit->Edit1->setText(u"борщ"_s);
    QTest::keyClick(rig.limit->Edit1, Qt::Key_End);
    QVERIFY(rig.reloaded());
    QCOMPARE(rig.items(), QSet<qint64>{});
    QTest::mouseClick(rig.limit->Btn_ClearLimit, Qt::LeftButton);
    QCOMPARE(limitedItems(*m_db), 2);
    QVERIFY(rig.dialogs.messages.isEmpty());
}

void TestFormLimit::enterPressesFocusedButton()
{
    LimitRig rig(*m_db);
    QVERIFY(rig.show());
    rig.limit->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig.limit));

    // A focused button takes Enter itself.
    rig.dialogs.answers = {false};
    rig.limit->Btn_ClearLimit->setFocus();
    QTest::keyClick(rig.limit->Btn_ClearLimit, Qt::Key_Return);
    QCOMPARE(rig.dialogs.questions.size(), 1);
    QVERIFY(!rig.klava->isVisible());

    // Elsewhere Enter opens the keypad, and Esc closes it unchanged.
    bool keypadShown = false;
    QTimer::singleShot(0, rig.klava, [&] {
        keypadShown = rig.klava->isVisible();
        QTest::keyClick(rig.klava, Qt::Key_Escape);
    });
    rig.limit->GridStr->setFocus();
    QTest::keyClick(rig.limit->GridStr, Qt::Key_Return);
    QVERIFY(keypadShown);
    QVERIFY(!rig.klava->isVisible());
    QCOMPARE(rig.klava->result(), int(QDialog::Rejected));
    QCOMPARE(limitedItems(*m_db), 2);

    // Esc closes the limit window.
    QTest::keyClick(rig.limit->GridStr, Qt::Key_Escape);
    QVERIFY(!rig.limit->isVisible());
}

void TestFormLimit::boardButtonOpensWindow()
{
    m_db->exec(u"INSERT INTO MY_PARAM (NAME_PARAM) VALUES ('limit_monitor')"_s);
    QTemporaryDir dir;
    AppState state;
    state.settingsFolder = dir.path();
    writeNetFile(dir.path(), m_db->name());
    FakeMachine machine;
    ProgramWindows windows(state, machine.platform());
    const Forms& forms = windows.forms();
    forms.Main->show();
    QVERIFY(forms.Main->BtnLimit->isEnabled());

    QWidget* modal = nullptr;
    int sections = -1;
    QTimer::singleShot(0, forms.Limit, [&] {
        modal = QApplication::activeModalWidget();
        sections = forms.Limit->GridRazdel->model()->rowCount();
        // A window takes no touch in its first half second.
        machine.clock.time = QDateTime::currentDateTime().addMSecs(500);
        QTest::mouseClick(forms.Limit->Btn_Exit, Qt::LeftButton);
    });
    QTest::mouseClick(forms.Main->BtnLimit, Qt::LeftButton);
    QCOMPARE(modal, forms.Limit);
    QCOMPARE(sections, 5);
    QVERIFY(!forms.Limit->isVisible());
    QCOMPARE(forms.Limit->result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestFormLimit)
#include "TestFormLimit.moc"
