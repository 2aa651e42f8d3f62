// The board laid out for the screen from the settings files: window or full screen, a full
// screen filled without black bands, the text size, the columns' shares and grids that show
// whole rows only.

#include "Form_Main.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "CookAction.h"
#include "DataGrid.h"
#include "Form_Base.h"
#include "Form_Detail.h"
#include "IdleCheck.h"
#include "IdleClock.h"
#include "InputGate.h"
#include "OrderBoard.h"
#include "PanelAges.h"
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
#include "Settings.h"
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
#include "BoardColumns.h"

using namespace Qt::StringLiterals;
using namespace BoardColumns;

namespace {
// The room the minutes column keeps whatever it shows now: a dish late by three figures of
// minutes, as a forgotten one is; two figures measured this way were cut on the board.
const QString LateMinutes = u"!\u2212999"_s;

// A check box's square grows with its type; Fusion draws it at 13 pixels whatever the font.
void sizeCheckIndicator(QCheckBox* box, ScaleRatio type)
{
    if (type.isIdentity())
        return;
    const int side = type.apply(13);
    box->setStyleSheet(u"QCheckBox::indicator { width: %1px; height: %1px; }"_s.arg(side));
}

// A grid's rows are made a little taller to fill the room that whole rows leave, and the last
// pixels, fewer than the rows, go to its titles or are taken off a grid without titles: the
// last row shown is never cut through its letters. `shownHeight` is what other controls leave
// of the grid uncovered.
void showWholeRows(QTableView* grid, int shownHeight)
{
    grid->ensurePolished();
    QHeaderView* rows = grid->verticalHeader();
    QHeaderView* titles = grid->horizontalHeader();
    const int title = titles->isHidden() ? 0 : titles->sizeHint().height();
    const int frame = grid->frameWidth();
    const int room = qMin(shownHeight, grid->height() - frame) - frame - title;
    const int count = room / qMax(1, rows->defaultSectionSize());
    if (count < 1)
        return;
    rows->setMinimumSectionSize(qMin(rows->minimumSectionSize(), room / count));
    rows->setDefaultSectionSize(room / count);
    const int left = room % count;
    if (titles->isHidden())
        grid->resize(grid->width(), grid->height() - left);
    else
        titles->setFixedHeight(title + left);
}

// Scaling rounds every edge on its own, so three panels side by side may differ by a pixel or
// two: each row of panels is laid out again with one width for all, the gaps kept.
void sizePanelsAlike(const std::array<QGroupBox*, 6>& boxes, const std::array<QTableView*, 6>& grids)
{
    for (size_t first = 0; first < 6; first += 3) {
        const int left = boxes[first]->x();
        const int gap = boxes[first + 1]->x() - boxes[first]->geometry().right() - 1;
        const int width = (boxes[first + 2]->geometry().right() - left + 1 - 2 * gap) / 3;
        const int margins = boxes[first]->width() - grids[first]->width();
        for (size_t i = first; i < first + 3; ++i) {
            boxes[i]->setGeometry(left + int(i - first) * (width + gap), boxes[i]->y(), width, boxes[i]->height());
            grids[i]->resize(width - margins, grids[i]->height());
        }
    }
}

} // namespace

// The section frame is only 37 design pixels high: its title goes on the frame's top line, as
// in the design, and the check boxes are centred in the room below it at whatever scale the
// board has, each as tall as it needs. Fusion's own frame, below a full title line, leaves too
// little room and the boxes would hang across its edge. On a full screen each box takes the
// frame's whole height, title band included, to be easy to hit: its own picture and number,
// centred, stay below the title all the same.
void BoardColumns::fitSectionBoxes(QGroupBox* frame, const std::array<QCheckBox*, 5>& boxes, bool wholeHeight)
{
    const int title = frame->fontMetrics().height();
    frame->setStyleSheet(u"QGroupBox#%1 { border: 1px solid palette(mid); border-radius: 3px; margin-top: %2px; }"
                         " QGroupBox#%1::title { subcontrol-origin: margin; left: %3px; padding: 0 2px; }"_s
                             .arg(frame->objectName())
                             .arg(title / 2)
                             .arg(boxes[0]->x() - 2));
    frame->ensurePolished();
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
    const int top = wholeHeight ? 1 : label.bottom() + 1;
    const int room = frame->height() - 1 - top;
    for (QCheckBox* box : boxes) {
        const int height = wholeHeight ? room : qMin(box->sizeHint().height(), room);
        box->setGeometry(box->x(), top + (room - height) / 2, box->width(), height);
    }
}

void Form_Main::FormCreate()
{
    m_state.MinLimitOn = false;
    m_state.MinLimit = 0;
    m_state.FormsReady = false;
    m_state.PageFirst = 1;

    setWindowTitle(Caption);

    // A platform that built the window at another scale than its design (a large system font)
    // changes the button's height; then no window is rescaled.
    m_state.AtDesignSize = BtnAll->height() == 37;
    const QSize screen = m_display.screenSize();
    m_state.WideScreen = isWideScreen(screen);
    ScaleRatio type;
    if (m_settings.fullScreen()) {
        SetFullScreenMode();
        if (m_state.AtDesignSize)
            type = fillScreen(m_display.screenSize());
        // Last: a later move or resize would take the window out of full screen.
        move(0, 0);
        setWindowState(Qt::WindowFullScreen);
    } else {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                       | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        if (m_state.AtDesignSize) {
            type = screenRatio(m_state.WideScreen, screen, 680, 880);
            scaleWindow(this, type);
        }
    }
    m_typeRatio = type;

    for (QCheckBox* box : sectionBoxes())
        sizeCheckIndicator(box, type);
    fitSectionBoxes(GB_Section, sectionBoxes(), m_fullScreen);

    m_state.HotExpanded = false;
    m_state.HotNormalHeight = GHot->height();

    const auto boxes = sectionBoxes();
    const std::array<bool, 5> served = m_settings.sections();
    for (int i = 0; i < 5; ++i)
        if (served[size_t(i)])
            boxes[i]->setChecked(true);

    m_gate->setKeyMap(KeyMap::load(m_state.settingsFolder));

    const bool groupShown = m_settings.groupShown();
    GHot->setColumnHidden(GroupColumn, !groupShown);

    sizePanelsAlike(panels(), panelGrids());
    setTextSize(m_settings.textSize());
    sizeHotColumns(groupShown);
    sizePanelColumns();
    // The panels lie over the hot queue's last line.
    showWholeRows(GHot, GroupBox1->y() - GHot->y());
    for (QTableView* grid : panelGrids())
        showWholeRows(grid, grid->height());
    for (DataGrid* grid : {GHot, G1, G2, G3, G4, G5, G6})
        grid->fitToContents();
}

void Form_Main::sizeHotColumns(bool groupShown)
{
    // The quantity, serving time, order number and minutes as wide as they need; the dish's
    // name, wrapped onto a second line where it must be, and the texts share the rest.
    DataGrid::Fitting fitting{1, {0, 3, 6, 7}, {}, {{7, LateMinutes}}};
    for (const HotColumn& column : HotColumns)
        fitting.shares << (groupShown ? column.shareShown : column.shareHidden);
    GHot->setFitting(fitting);
}

void Form_Main::sizePanelColumns()
{
    // The quantity and the minutes as wide as they need; the dish's name has the rest.
    for (DataGrid* grid : {G1, G2, G3, G4, G5, G6})
        grid->setFitting({0, {1, 2}, {1, 0, 0}, {{2, LateMinutes}}});
}

void Form_Main::setTextSize(int size)
{
    // Bigger letters and taller rows in the same grids: fewer dishes, read from farther away.
    m_textSize = size;
    const ScaleRatio ratio{ViewSettings::textPercent(size), 100};
    std::vector<QTableView*> grids{GHot};
    for (QTableView* grid : panelGrids())
        grids.push_back(grid);
    for (QTableView* grid : ratio.isIdentity() ? std::vector<QTableView*>() : grids) {
        QFont font = grid->font();
        font.setPixelSize(ratio.apply(font.pixelSize()));
        grid->setFont(font);
        QHeaderView* rows = grid->verticalHeader();
        rows->setDefaultSectionSize(ratio.apply(rows->defaultSectionSize()));
    }
    // The panels' captions (waiter, order, table) grow with the names, as far as a caption of
    // the usual length and the order's age beside it still fit across the panel; where even
    // the design's size does not hold both (1024 pixels across), the caption gives up the
    // pixel. Their grids give up or take the room.
    QFont caption = GroupBox1->font();
    caption.setPixelSize(ratio.apply(caption.pixelSize()));
    const QString usual = u"Кузнецов Дмитрий, № 131, Стол 12"_s;
    while (caption.pixelSize() > 1 && !PanelAges::fitsBeside(caption, usual, GroupBox1->width()))
        caption.setPixelSize(caption.pixelSize() - 1);
    for (int i = 0; i < 6; ++i) {
        QGroupBox* box = panels()[size_t(i)];
        QTableView* grid = panelGrids()[size_t(i)];
        const int before = box->fontMetrics().height();
        box->setFont(caption);
        const int grown = box->fontMetrics().height() - before;
        grid->setGeometry(grid->x(), grid->y() + grown, grid->width(), grid->height() - grown);
    }
}

bool Form_Main::SetFullScreenMode()
{
    m_fullScreen = true;
    m_display.requestMode(FullScreenWidth, FullScreenHeight, 16);
    // Frameless and full-screen, so above the desktop's panels; not stay-on-top, which would
    // hide the message boxes that have no parent window.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    return true;
}

ScaleRatio Form_Main::fillScreen(QSize screen)
{
    // What the display switched to 800x600 shows, stretched across and down to a display that
    // keeps its own mode, so that no band of the glass is left black; the type grows by the
    // smaller of the two, and letters keep their shape. A display that did switch needs no
    // scaling.
    const QSize shown(FullScreenWidth, FullScreenHeight);
    const ScaleRatio type = fitRatio(screen, shown);
    stretchWindow(this, Stretch{{screen.width(), shown.width()}, {screen.height(), shown.height()}, type});
    resize(screen);
    page->move(0, 0);
    // The row of buttons reaches down to the screen's edge: below it the design has only the
    // window's frame, and taller buttons are easier to hit. Whatever sits on the row goes along.
    const int rowTop = BtnNet->y();
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->y() == rowTop)
            w->resize(w->width(), screen.height() - rowTop);
    return type;
}
