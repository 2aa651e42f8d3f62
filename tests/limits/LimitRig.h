#pragma once
// The limit window and its keypad over a small menu on the real server: an open shift whose
// menu has five sections (the last one empty) and a closed shift with a menu of its own.

#include "AppState.h"
#include "Settings.h"
#include "DataGrid.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "Form_Base.h"
#include "Form_Klava.h"
#include "Form_Limit.h"
#include "Form_Util.h"
#include "Query.h"
#include "MenuBrowser.h"
#include "TestDatabase.h"

#include <QLocale>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace LimitData {

// Sections of the open shift's menu, in their sort order.
constexpr qint64 Salads = 12, Soups = 11, Hot = 13, Desserts = 14, Empty = 15;

// Items by key.
constexpr qint64 Borsch = 101, GreenBorsch = 102, BorschGreen = 103, Ukha = 104;
constexpr qint64 Olivier = 111, Artagnan = 112, Caesar = 113, Pilaf = 121, Napoleon = 131;
constexpr qint64 OldBorsch = 201;

inline void create(TestDatabase& db)
{
    const QStringList sql{
        u"INSERT INTO SPISOK_MENU (KOD, NAME) VALUES (1, 'Летнее')"_s,
        u"INSERT INTO SPISOK_MENU (KOD, NAME) VALUES (2, 'Основное')"_s,
        u"INSERT INTO SMENA (KOD, NUMBER_SMENA, STATUS, KOD_MENU) VALUES (1, 1, 10, 1)"_s,
        u"INSERT INTO SMENA (KOD, NUMBER_SMENA, STATUS, KOD_MENU) VALUES (2, 2, 1, 2)"_s,
        u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (11, 2, 2, 'Супы')"_s,
        u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (12, 1, 2, 'Салаты')"_s,
        u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (13, 3, 2, 'Горячее')"_s,
        u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (14, 4, 2, 'Десерты')"_s,
        u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (15, 5, 2, 'Пусто')"_s,
        u"INSERT INTO MENU_GROUP (KOD, MY_SORT, KOD_SPISOK_MENU, NAME_GROUP) VALUES (21, 1, 1, 'Старое')"_s,
    };
    for (const QString& s : sql)
        db.exec(s);
    struct Item { qint64 kod, menu, group; const char16_t* name; };
    const Item items[] = {
        {Borsch, 2, Soups, u"Борщ с пампушками"},
        {GreenBorsch, 2, Soups, u"БОРЩ ЗЕЛЁНЫЙ"},
        {BorschGreen, 2, Soups, u"Зелёный борщ"},
        {Ukha, 2, Soups, u"Уха"},
        {Olivier, 2, Salads, u"Оливье"},
        {Artagnan, 2, Salads, u"Салат «д'Артаньян»"},
        {Caesar, 2, Salads, u"Цезарь_100%"},
        {Pilaf, 2, Hot, u"Плов"},
        {Napoleon, 2, Desserts, u"Наполеон"},
        {OldBorsch, 1, 21, u"Борщ холодный"},
    };
    for (const Item& i : items)
        db.exec(u"INSERT INTO MENU_STR (KOD, KOD_MENU, KOD_MENU_GROUP, NAME, VIHOD, CENA) VALUES (:K, :M, :G, :N, '300 г', 320)"_s,
                {{u"K"_s, DbValue::integer(i.kod)}, {u"M"_s, DbValue::integer(i.menu)},
                 {u"G"_s, DbValue::integer(i.group)}, {u"N"_s, DbValue::text(QString::fromUtf16(i.name))}});
}

// How many items have a limit.
inline qint64 limitedItems(TestDatabase& db)
{
    return db.value(u"SELECT COUNT(*) FROM MENU_STR WHERE LIMIT IS NOT NULL"_s).toInt64().value_or(-1);
}

// The limits every test starts from.
inline void resetLimits(TestDatabase& db)
{
    db.exec(u"UPDATE MENU_STR SET LIMIT = NULL"_s);
    db.exec(u"UPDATE MENU_STR SET LIMIT = 4 WHERE KOD = 102"_s);
    db.exec(u"UPDATE MENU_STR SET LIMIT = 5 WHERE KOD = 111"_s);
    db.exec(u"DELETE FROM MY_PARAM"_s);
    db.exec(u"UPDATE SMENA SET STATUS = 1 WHERE KOD = 2"_s);
}

}

// The data module connected to the test database, the limit window and the keypad.
struct LimitRig {
    QTemporaryDir dir;
    AppState state;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeDisplayMode display;
    FakeSoundPlayer player;
    Form_Util util{clock};
    Settings settings{dir.path()};
    Form_Base base{settings, util, dialogs, player};
    MenuBrowser menu{base, dialogs};
    QWidget main; // goes before the data module, as the board's windows do
    Form_Limit* limit = nullptr;
    Form_Klava* klava = nullptr;
    int loads = 0; // item lists loaded

    explicit LimitRig(TestDatabase& db)
    {
        state.settingsFolder = dir.path();
        writeNetFile(dir.path(), db.name());
        base.FormCreate();
        base.TimerHot.stop();
        limit = new Form_Limit(state, dialogs, display, &main);
        klava = new Form_Klava(state, dialogs, display, menu, limit);
        limit->attach(menu, *klava);
        QObject::connect(&menu.QMenuStr, &Query::rowsChanged, &menu, [this] {
            if (menu.QMenuStr.isOpen())
                ++loads;
        });
    }

    // Shows the limit window and waits for its first item list.
    bool show()
    {
        limit->show();
        return QTest::qWaitFor([this] { return !menu.TimerMenuStr.isActive() && limit->GridStr->isEnabled(); });
    }

    // Waits for the pending reload of the items.
    bool reloaded()
    {
        return QTest::qWaitFor([this] { return !menu.TimerMenuStr.isActive(); })
               && limit->GridStr->isEnabled();
    }

    // The keys of the listed items.
    QSet<qint64> items() const
    {
        QSet<qint64> keys;
        const Query& q = menu.QMenuStr;
        for (int i = 0; i < q.recordCount(); ++i)
            keys << q.row(i)[size_t(q.fieldIndex(u"KOD"_s))].toInt64().value_or(-1);
        return keys;
    }

    // Makes an item of the listed ones current, as a click on its row does.
    void selectItem(qint64 key)
    {
        const Query& q = menu.QMenuStr;
        for (int i = 0; i < q.recordCount(); ++i)
            if (q.row(i)[size_t(q.fieldIndex(u"KOD"_s))].toInt64() == key) {
                QTableView* grid = limit->GridStr;
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualRect(grid->model()->index(i, 0)).center());
                return;
            }
        QFAIL("no such item listed");
    }

    // The text the items grid shows in a column of the current row.
    QString currentCell(int column) const
    {
        QTableView* grid = limit->GridStr;
        return grid->model()->index(menu.QMenuStr.recNo(), column).data().toString();
    }
};
