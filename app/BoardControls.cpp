// The board's controls as the design places them: the hot queue, the six panels, the row of
// buttons, the sections and the strips.

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
#include "TimingColours.h"
#include "ViewSettings.h"

#include <QCheckBox>
#include <functional>
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
using Picture = ButtonPictures::Picture;
using namespace BoardColumns;

namespace {

const QColor Red(255, 0, 0);

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

// A section box changes only when the board agrees (it asks the cook), and only by a touch: it
// takes no keyboard focus, so that no key adds or drops a section.
class SectionBox : public QCheckBox {
public:
    SectionBox(const QString& text, QWidget* parent, std::function<bool(bool show)> confirm)
        : QCheckBox(text, parent), m_confirm(std::move(confirm))
    {
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void nextCheckState() override
    {
        if (m_confirm(!isChecked()))
            QCheckBox::nextCheckState();
    }

private:
    std::function<bool(bool show)> m_confirm;
};

} // namespace

QPushButton* Form_Main::pictureButton(const char* name, const QString& text, Picture picture,
                                      const QRect& place, const QString& hint)
{
    auto* button = new QPushButton(ButtonPictures::icon(picture), text, page);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void Form_Main::buildControls()
{
    // The design's own type for the captions, so that they fit their buttons at every scale.
    setFont(DesignFonts::dialog());
    page = new QWidget(this);
    page->setObjectName(u"page"_s);
    page->setGeometry(0, 0, DesignWidth, DesignHeight);

    GHot = new DataGrid(page);
    GHot->setObjectName(u"GHot"_s);
    GHot->setGeometry(0, 0, 800, 185);
    QStringList hotFields, hotTitles;
    for (const HotColumn& column : HotColumns) {
        hotFields << (column.field ? QString::fromLatin1(column.field) : QueryModel::MinutesColumn);
        hotTitles << column.title;
    }
    m_hotModel = new QueryModel(hotFields, this);
    m_hotModel->setTitles(hotTitles);
    GHot->setModel(m_hotModel);
    RowFrameDelegate::install(GHot);
    GHot->setFont(DesignFonts::arial(13));
    setTextColour(GHot, TimingColours::Green);
    GHot->horizontalHeader()->setFont(DesignFonts::dialog(11));
    GHot->horizontalHeader()->setHighlightSections(false);
    GHot->verticalHeader()->setFixedWidth(11);
    GHot->verticalHeader()->setDefaultSectionSize(18);
    GHot->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GHot->setSelectionBehavior(QAbstractItemView::SelectRows);
    GHot->setSelectionMode(QAbstractItemView::SingleSelection);
    GHot->followChosenRow();
    // The hot queue has no line keys; these fields tell its lines apart for the cook.
    m_hotModel->lineFields = {u"KZ"_s, u"NAME_BLUDO"_s, u"KOLVO"_s, u"TPS"_s};

    QGroupBox** boxes[] = {&GroupBox1, &GroupBox2, &GroupBox3, &GroupBox4, &GroupBox5, &GroupBox6};
    DataGrid** grids[] = {&G1, &G2, &G3, &G4, &G5, &G6};
    for (int i = 0; i < 6; ++i) {
        auto* box = new QGroupBox(page);
        box->setObjectName(u"GroupBox%1"_s.arg(i + 1));
        box->setGeometry((i % 3) * 267, i < 3 ? 184 : 368, 266, 186);
        box->setFont(DesignFonts::arial(13));
        *boxes[i] = box;

        auto* grid = new DataGrid(box);
        grid->setObjectName(u"G%1"_s.arg(i + 1));
        grid->setGeometry(4, 16, 257, 165);
        grid->setModel(new QueryModel({u"NAME_BLUDO"_s, u"KOLVO"_s, QueryModel::MinutesColumn}, grid));
        RowFrameDelegate::install(grid);
        grid->horizontalHeader()->hide();
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setDefaultSectionSize(18);
        grid->setFont(DesignFonts::arial(13));
        setTextColour(grid, TimingColours::Navy);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->hide();
        *grids[i] = grid;
    }

    BtnNet = pictureButton("BtnNet", u"Сеть"_s, Picture::Net, {0, 555, 70, 37},
                           u"Настройка подключения к серверу"_s);
    BtnOption = pictureButton("BtnOption", u"Опции"_s, Picture::Options, {71, 555, 70, 37},
                              u"Настройки программы"_s);

    // The settings buttons and the section frame give up the room their short captions leave
    // over to "Итого".
    GB_Section = new QGroupBox(u"Обслуживаемые секции"_s, page);
    GB_Section->setObjectName(u"GB_Section"_s);
    GB_Section->setGeometry(142, 555, 197, 37);
    // Its own font, or its style sheet keeps the title at design size when the board is scaled.
    GB_Section->setFont(DesignFonts::dialog());
    QCheckBox** sections[] = {&CB_S1, &CB_S2, &CB_S3, &CB_S4, &CB_S5};
    for (int i = 0; i < 5; ++i) {
        auto* box = new SectionBox(u"№%1"_s.arg(i + 1), GB_Section, [this, i](bool show) { return confirmSection(i + 1, show); });
        box->setObjectName(u"CB_S%1"_s.arg(i + 1));
        box->setGeometry(5 + 38 * i, 15, 38, 17);
        box->setFont(DesignFonts::dialog(11, true));
        connect(box, &QCheckBox::toggled, this,
                [this] { reportErrors(m_dialogs, this, [this] { CB_S1Click(); }); });
        *sections[i] = box;
    }
    fitSectionBoxes(GB_Section, sectionBoxes(), false);

    BtnAllDay = pictureButton("BtnAllDay", u"Итого"_s, Picture::All, {340, 555, 46, 37},
                              u"Все блюда в работе по названиям"_s);
    BtnAllDay->setIcon(QIcon());
    BtnAllDay->setIconSize(QSize(0, 0));
    // The two picture buttons give up 30 of their 73 pixels each to the recall list's button.
    BtnLimit = pictureButton("BtnLimit", QString(), Picture::Limit, {387, 555, 43, 37}, u"Лимиты"_s);
    BtnLimit->setEnabled(false);
    BtnShow = pictureButton("BtnShow", QString(), Picture::ShowHot, {431, 555, 43, 37},
                            u"Развернуть \" Горячую \" очередь"_s);
    BtnReady = pictureButton("BtnReady", u"Готовые"_s, Picture::All, {475, 555, 59, 37},
                             u"Готовые заказы последних 30 минут"_s);
    // A caption alone, with the whole width for it.
    BtnReady->setIcon(QIcon());
    BtnReady->setIconSize(QSize(0, 0));
    BtnAll = pictureButton("BtnAll", u"Все"_s, Picture::All, {535, 555, 73, 37},
                           u"Переключение Все заказы / Неисполненые заказы"_s);
    BtnPrev = pictureButton("BtnPrev", QString(), Picture::Prev, {609, 555, 73, 37},
                            u"Предыдущие 6 заказов"_s);
    BtnNext = pictureButton("BtnNext", QString(), Picture::Next, {684, 555, 73, 37},
                            u"Следующие 6 заказов"_s);
    BtnNext->setLayoutDirection(Qt::RightToLeft);
    BtnExit = pictureButton("BtnExit", QString(), Picture::Exit, {759, 555, 41, 37},
                            u"Завершить работу"_s);

    PanelSound = new QLabel(u"Выключить звук !"_s, page);
    PanelSound->setObjectName(u"PanelSound"_s);
    PanelSound->setGeometry(188, 136, 417, 309);
    PanelSound->setFont(DesignFonts::arialNarrow(32, true));
    PanelSound->setAlignment(Qt::AlignCenter);
    PanelSound->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelSound->setAutoFillBackground(true);
    QPalette red = PanelSound->palette();
    red.setColor(QPalette::Window, Red);
    PanelSound->setPalette(red);
    PanelSound->hide();

    // Over the last rows of the hot queue, the least urgent ones.
    Strip = new StatusStrip(page);
    Strip->setGeometry(0, 118, 800, 66);
    Strip->installEventFilter(this);
    // Over the hot queue too, never over the panels' dishes; above the status strip when it shows.
    StripReady = new ReadyStrip(page);
    StripReady->setGeometry(0, 144, 800, 40);

    connect(BtnNet, &QPushButton::clicked, this, &Form_Main::BtnNetClick);
    connect(BtnOption, &QPushButton::clicked, this, &Form_Main::BtnOptionClick);
    connect(BtnExit, &QPushButton::clicked, this, &Form_Main::BtnExitClick);
    auto handle = [this](void (Form_Main::*handler)()) {
        return [this, handler] { reportErrors(m_dialogs, this, [this, handler] { (this->*handler)(); }); };
    };
    connect(BtnNext, &QPushButton::clicked, this, handle(&Form_Main::BtnNextClick));
    connect(BtnPrev, &QPushButton::clicked, this, handle(&Form_Main::BtnPrevClick));
    connect(BtnAll, &QPushButton::clicked, this, handle(&Form_Main::BtnAllClick));
    connect(BtnShow, &QPushButton::clicked, this, &Form_Main::BtnShowClick);
    void (Form_Main::*panelClicks[])(QPoint) = {&Form_Main::G1MouseUp, &Form_Main::G2MouseUp,
                                               &Form_Main::G3MouseUp, &Form_Main::G4MouseUp,
                                               &Form_Main::G5MouseUp, &Form_Main::G6MouseUp};
    for (DataGrid* grid : {G1, G2, G3, G4, G5, G6, GHot})
        connect(grid, &DataGrid::mouseDown, this,
                [this, grid](Qt::MouseButton, QPoint position) { gridMouseDown(grid, position); });
    for (int i = 0; i < 6; ++i)
        connect(*grids[i], &DataGrid::mouseUp, this,
                [this, handler = panelClicks[i]](Qt::MouseButton, QPoint position) { (this->*handler)(position); });
    connect(GHot, &DataGrid::mouseUp, this, [this](Qt::MouseButton, QPoint position) { GHotMouseUp(position); });
    connect(BtnLimit, &QPushButton::clicked, this, &Form_Main::BtnLimitClick);
    connect(BtnReady, &QPushButton::clicked, this, handle(&Form_Main::BtnReadyClick));
    connect(BtnAllDay, &QPushButton::clicked, this, handle(&Form_Main::BtnAllDayClick));
    connect(StripReady->BtnUndo, &QPushButton::clicked, this, &Form_Main::pressUndo);
}
