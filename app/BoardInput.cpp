// The board's touches and keys, as the input gate lets them through: what a touch on a panel or
// the hot queue opens, and what a key of the map does at the board.

#include "Form_Main.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "CookAction.h"
#include "DataGrid.h"
#include "Form_Base.h"
#include "Form_Detail.h"
#include "IdleCheck.h"
#include "KitchenWork.h"
#include "IdleClock.h"
#include "InputGate.h"
#include "OrderBoard.h"
#include "PressService.h"
#include "QueryModel.h"
#include "ReadyStrip.h"
#include "RecallSql.h"
#include "RowFrameDelegate.h"
#include "ServerTime.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "EnterKeyFilter.h"
#include "Form_Limit.h"
#include "Form_Net.h"
#include "Form_Ready.h"
#include "Form_Vid.h"
#include "Forms.h"
#include "RadioGroup.h"
#include "Scaling.h"
#include "SettingsFile.h"
#include "SettingsNames.h"
#include "StatusStrip.h"
#include "ViewSettings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
// The row that a release at this place in a grid's viewport touched: a row of the grid or its
// row indicator; -1 on the titles or below the rows.
int touchedRow(const QTableView* grid, QPoint position)
{
    return position.y() < 0 ? -1 : grid->rowAt(position.y());
}

std::optional<InputGate::TouchTarget> touchTarget(const auto& opening)
{
    if (!opening)
        return std::nullopt;
    return InputGate::TouchTarget{opening->order, opening->line};
}
} // namespace

std::optional<Form_Main::Opening> Form_Main::panelOpening(int panel, int row) const
{
    const Query* lines = m_board->panelQuery(panel);
    if (!lines || m_board->panelOrder(panel) == 0)
        return std::nullopt;
    Opening o{lines->sql(), panels()[size_t(panel)]->title(), m_board->panelOrder(panel), {}, {}};
    const int key = lines->fieldIndex(u"KOD"_s);
    if (row >= 0 && row < lines->recordCount() && key >= 0) {
        o.dish = {{u"KOD"_s, lines->row(row)[size_t(key)]}};
        o.line = {lines->row(row)[size_t(key)]};
    }
    return o;
}

std::optional<Form_Main::Opening> Form_Main::hotOpening(int row) const
{
    if (!m_base)
        return std::nullopt;
    const Query& hot = m_base->QHot;
    if (!hot.isOpen() || hot.recordCount() == 0)
        return std::nullopt;
    // Elsewhere the row chosen before stays the one that acts: the grid keeps it current.
    const bool touched = row >= 0 && row < hot.recordCount();
    const int acting = touched ? row : hot.recNo();
    if (acting >= hot.recordCount())
        return std::nullopt;
    auto field = [&](const QString& name) {
        const int column = hot.fieldIndex(name);
        return column < 0 ? DbValue() : hot.row(acting)[size_t(column)];
    };
    const qint64 order = field(u"KZ"_s).toInt64().value_or(0);
    // The waiter, the number and the table, as the order's panel names them.
    QString caption = field(u"FIO"_s).toText().value_or(QString()) + u", № "_s + field(u"NUMBER_ZAKAZ"_s).toText().value_or(QString());
    if (const QString table = field(u"INFO_ZAKAZ"_s).toText().value_or(QString()); !table.isEmpty())
        caption += u", "_s + table;
    Opening o{BoardSql::hotOrderLines(m_board->AllOrders), caption, order, {}, {}};
    // The hot queue has no line keys: its dish is the order's line with the same name,
    // quantity and due moment, and lines alike in all three are alike for the cook too.
    for (const QString& name : {u"NAME_BLUDO"_s, u"KOLVO"_s, u"TPS"_s}) {
        if (touched)
            o.dish << qMakePair(name, field(name));
        o.line << field(name);
    }
    return o;
}

void Form_Main::openOrder(const std::optional<Opening>& opening)
{
    if (!opening || !m_forms.Detail || !m_base)
        return;
    m_notDone = u"Заказ не открыт"_s;
    runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [&] {
        m_forms.Detail->showOrder(opening->sql, opening->caption, opening->order, opening->dish);
    });
}

void Form_Main::openPanelOrder(int panel, int row)
{
    const std::optional<Opening> opening = panelOpening(panel, row);
    if (opening && opening->dish.isEmpty())
        panelGrids()[size_t(panel)]->clearSelection(); // the first dish will be current: nothing else may look chosen
    openOrder(opening);
}

void Form_Main::openHotOrder(int row)
{
    const std::optional<Opening> opening = hotOpening(row);
    if (opening && row >= 0 && row < m_base->QHot.recordCount())
        m_base->QHot.setRecNo(row);
    openOrder(opening);
}

void Form_Main::openOrderOf(qint64 order, const QString& dish)
{
    if (!m_base || !m_forms.Work)
        return;
    // The order list names the waiter; an order that left it meanwhile keeps its number and table.
    QString caption = m_board->captionOf(order);
    for (const KitchenWork::Line& line : m_forms.Work->lines())
        if (caption.isEmpty() && line.order == order)
            caption = u"№ "_s + line.number + u", "_s + line.table;
    openOrder(Opening{BoardSql::panelLines(m_board->served()), caption, order, {{u"NAME_BLUDO"_s, DbValue::text(dish)}}, {}});
}

void Form_Main::gridMouseDown(QTableView* grid, QPoint position)
{
    const int row = touchedRow(grid, position);
    const auto grids = panelGrids();
    const auto panel = std::find(grids.begin(), grids.end(), grid);
    m_gate->touchPressed(grid, touchTarget(panel == grids.end() ? hotOpening(row)
                                                                : panelOpening(int(panel - grids.begin()), row)));
}

bool Form_Main::releasedWherePressed(QTableView* grid, const std::optional<Opening>& now)
{
    return m_gate->touchReleased(grid, touchTarget(now));
}

void Form_Main::panelMouseUp(int panel, QPoint position)
{
    QTableView* grid = panelGrids()[size_t(panel)];
    const int row = touchedRow(grid, position);
    const std::optional<Opening> opening = panelOpening(panel, row);
    if (!releasedWherePressed(grid, opening))
        return;
    // A touch chooses as the keys do, so that both can be used in turn.
    if (opening)
        m_board->choosePanel(panel, opening->line.isEmpty() ? std::nullopt : opening->line[0].toInt64());
    openPanelOrder(panel, row);
}

BoardKeys Form_Main::boardKeys()
{
    BoardKeys keys;
    keys.orderChosen = [this] { return m_board->chosenPanel() >= 0; };
    keys.dishChosen = [this] { return m_board->choice().dish().has_value(); };
    keys.choosePanel = [this](int panel) { m_board->choosePanel(panel); };
    keys.stepOrder = [this](int step) { m_board->stepOrder(step); };
    keys.stepDish = [this](int step) { m_board->stepDish(step); };
    keys.dishReady = [this] { readyByKey(false); };
    keys.orderReady = [this] { readyByKey(true); };
    keys.takeBack = [this] { takeBackNewest(); };
    keys.allOrders = [this] { BtnAllClick(); };
    keys.turnPage = [this](int step) { step > 0 ? BtnNextClick() : BtnPrevClick(); };
    keys.hotQueue = [this] { BtnShowClick(); };
    keys.allDay = [this] { BtnAllDayClick(); };
    keys.openChosen = [this] { openPanelOrder(m_board->chosenPanel(), m_board->choice().dishIndex()); };
    keys.dropChoice = [this] { m_board->dropChoice(); };
    keys.recall = [this] { BtnReadyClick(); };
    keys.statistics = [this] {
        if (m_forms.showStatistics)
            m_forms.showStatistics();
    };
    return keys;
}

void Form_Main::readyByKey(bool wholeOrder)
{
    const std::optional<qint64> order = m_board->choice().order();
    const std::optional<qint64> dish = m_board->choice().dish();
    if (!order || !m_presses || !m_base)
        return;
    // The keys act as the buttons they stand for: a second press within the double-tap time
    // does nothing.
    if (m_gate->doubleTap(this))
        return;
    bool dishReady = false;
    m_notDone = wholeOrder ? u"Заказ не отмечен"_s : u"Блюдо не отмечено"_s;
    if (!runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [&] {
            // Read just before the write: a dish that has left the order since the board was
            // read, or that is ready already, is not marked, and the order marks only its shown
            // dishes. The board is read again all the same.
            const ServedSections served = m_board->served();
            const PressService::OrderLines lines = m_presses->readServed(*order, served);
            if (wholeOrder) {
                if (const QList<PressService::Line> shown = lines.in(LineState::Shown); !shown.isEmpty())
                    m_presses->orderReady(*order, lines.number, shown, served);
                return;
            }
            const std::optional<PressService::Line> line = dish ? lines.line(*dish) : std::nullopt;
            if (!line || line->before != LineState::Shown)
                return;
            m_presses->dishReady(*order, lines.number, *line);
            dishReady = true;
        }))
        return;
    m_notDone = u"Заказы на доске не прочитаны заново"_s;
    if (!runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [this] {
            refreshBoard();
        }))
        return;
    // A dish marked, the next one is chosen, so that one key after another bumps the order.
    if (dishReady && m_board->choice().dish() == dish)
        m_board->stepDish(1);
}

void Form_Main::GHotMouseUp(QPoint position)
{
    const int row = touchedRow(GHot, position);
    if (releasedWherePressed(GHot, hotOpening(row)))
        openHotOrder(row);
}
