#include "Form_Main.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "CookAction.h"
#include "DataGrid.h"
#include "Form_Base.h"
#include "Form_Detail.h"
#include "IdleCheck.h"
#include "IdleClock.h"
#include "JournalLines.h"
#include "KeyInput.h"
#include "OrderBoard.h"
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
#include "TouchGuard.h"
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
using Picture = ButtonPictures::Picture;
namespace N = SettingsNames;

const QString Form_Main::Caption = u"Монитор кухни v"_s + QStringLiteral(MONITOR_VERSION);
const QString Form_Main::ExitQuestion = u"Завершить работу монитора кухни?"_s;
const QString Form_Main::NoSoundFileWarning =
    u"Звуковое оповещение настроено с использованием мульти-медиа звуков, однако не выбран звуковой файл для воспроизведения. Произведите настройку !"_s;

namespace {

const QColor Red(255, 0, 0);

// Columns of the hot queue: field, title, share (hundredths) with and without the group column.
struct HotColumn {
    const char* field;
    QString title;
    int shareShown;
    int shareHidden;
};
// The minutes left close the row, where the eye ends reading it.
const HotColumn HotColumns[] = {
    {"KOLVO", u"Кол-во"_s, 6, 6},
    {"NAME_BLUDO", u"\" Горящая \" очередь блюд"_s, 36, 40},
    {"NAME_GROUP", u"Группа"_s, 12, 0},
    {"TP", u"Время подачи"_s, 10, 10},
    {"INFO_ZAKAZ", u"Информация"_s, 12, 16},
    {"FIO", u"Обслуживает"_s, 12, 16},
    {"NUMBER_ZAKAZ", u"№ зак."_s, 5, 5},
    {nullptr, u"Мин."_s, 6, 6},
};
constexpr int GroupColumn = 2;
// The room the minutes column keeps whatever it shows now: a dish 99 minutes late.
const QString LateMinutes = u"!\u221299"_s;

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

// The section frame is only 37 design pixels high: its title goes on the frame's top line, as
// in the design, and the check boxes are centred in the room below it at whatever scale the
// board has, each as tall as it needs. Fusion's own frame, below a full title line, leaves too
// little room and the boxes would hang across its edge. On a full screen each box takes the
// frame's whole height, title band included, to be easy to hit: its own picture and number,
// centred, stay below the title all the same.
void fitSectionBoxes(QGroupBox* frame, const std::array<QCheckBox*, 5>& boxes, bool wholeHeight)
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

// The row that a release at this place in a grid's viewport touched: a row of the grid or its
// row indicator; -1 on the titles or below the rows.
int touchedRow(const QTableView* grid, QPoint position)
{
    return position.y() < 0 ? -1 : grid->rowAt(position.y());
}

} // namespace

Form_Main::Form_Main(AppState& state, Dialogs& dialogs, DisplayMode& display, const Forms& forms)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_state(state), m_dialogs(dialogs),
      m_display(display), m_forms(forms)
{
    setObjectName(u"Form_Main"_s);
    resize(DesignWidth, DesignHeight);
    buildControls();
    new EnterKeyFilter(this);
    m_keys = new KeyInput(this);
    // A key of the map is the board's and walks no grid; only Enter, "+" and "." with no order
    // chosen go on, to press a button the keyboard has focused.
    m_keys->route(this, [this](KeyAction action) {
        bool used = true;
        reportErrors(m_dialogs, this, [&] { used = keyAction(action); });
        return used;
    });
    IdleTimer.setInterval(1000);
    connect(&IdleTimer, &QTimer::timeout, this, [this] {
        // The timer keeps ticking under the box that tells of a refusal: one box at a time.
        if (m_idleFailing)
            return;
        m_idleFailing = true;
        reportErrors(m_dialogs, this, [this] { IdleTimerTimer(); });
        m_idleFailing = false;
    });
    TimerColor.setInterval(1000);
    m_board = std::make_unique<OrderBoard>(state, OrderBoard::Widgets{panels(), panelGrids(), sectionBoxes(), BtnAll, BtnPrev, BtnNext});
    reportErrors(m_dialogs, nullptr, [this] { FormCreate(); });
}

Form_Main::~Form_Main() = default;

void Form_Main::attachDatabase(Form_Base& base)
{
    m_base = &base;
    m_serverTime = std::make_unique<ServerTime>(base.MyStoredProc, [this](const QString& text) {
        m_dialogs.message(this, text);
    });
    m_board->attach(base, *m_serverTime);
    ServerTime* time = m_serverTime.get();
    m_hotModel->colours = [time](const Query& q, int row) {
        return TimingColours::hotQueue(QueryModel::timing(q, row), [time] { return time->now(); });
    };
    m_hotModel->timeFreeColours = [](const TimingColours::Line& line) {
        return TimingColours::withoutServerTime(TimingColours::hotQueue, line);
    };
    m_hotModel->minutes = [time](const Query& q, int row) {
        return TimingColours::hotQueueMinutes(QueryModel::timing(q, row), [time] { return time->now(); });
    };
    m_hotModel->setQuery(&base.QHot);
    GHot->setServerTime(time);
}

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

    BtnNet = pictureButton("BtnNet", u"Сеть"_s, Picture::Net, {0, 555, 75, 37},
                           u"Настройка подключения к серверу"_s);
    BtnOption = pictureButton("BtnOption", u"Опции"_s, Picture::Options, {76, 555, 75, 37},
                              u"Настройки программы"_s);

    GB_Section = new QGroupBox(u"Обслуживаемые секции"_s, page);
    GB_Section->setObjectName(u"GB_Section"_s);
    GB_Section->setGeometry(152, 555, 233, 37);
    // Its own font, or its style sheet keeps the title at design size when the board is scaled.
    GB_Section->setFont(DesignFonts::dialog());
    QCheckBox** sections[] = {&CB_S1, &CB_S2, &CB_S3, &CB_S4, &CB_S5};
    for (int i = 0; i < 5; ++i) {
        auto* box = new QCheckBox(u"№%1"_s.arg(i + 1), GB_Section);
        box->setObjectName(u"CB_S%1"_s.arg(i + 1));
        box->setGeometry(8 + 44 * i, 15, 43, 17);
        box->setFont(DesignFonts::dialog(11, true));
        connect(box, &QCheckBox::toggled, this,
                [this] { reportErrors(m_dialogs, this, [this] { CB_S1Click(); }); });
        *sections[i] = box;
    }
    fitSectionBoxes(GB_Section, sectionBoxes(), false);

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
    connect(StripReady->BtnUndo, &QPushButton::clicked, this, &Form_Main::pressUndo);
}

std::array<QGroupBox*, 6> Form_Main::panels() const
{
    return {GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox5, GroupBox6};
}

std::array<QTableView*, 6> Form_Main::panelGrids() const
{
    return {G1, G2, G3, G4, G5, G6};
}

std::array<QCheckBox*, 5> Form_Main::sectionBoxes() const
{
    return {CB_S1, CB_S2, CB_S3, CB_S4, CB_S5};
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
    m_state.SoundFile.clear();

    const SettingsFile screenFile(m_state.settingsFolder, N::Screen);
    screenFile.createIfMissing(N::ScreenDefault);
    QString mode = screenFile.line(0, QString());
    if (mode != N::ScreenWindow && mode != N::ScreenFull) {
        screenFile.write(N::ScreenDefault);
        mode = N::ScreenWindow;
    }
    ScaleRatio type;
    if (mode == N::ScreenFull) {
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

    SettingsFile(m_state.settingsFolder, N::Net).createIfMissing(N::NetDefault);

    const SettingsFile sectionFile(m_state.settingsFolder, N::Section);
    sectionFile.createIfMissing(N::SectionDefault);
    const auto boxes = sectionBoxes();
    for (const QString& line : sectionFile.readLines()) {
        for (int i = 0; i < 5; ++i)
            if (line == QString::number(i + 1))
                boxes[i]->setChecked(true);
    }

    m_keys->setMap(KeyMap::load(m_state.settingsFolder));

    const SettingsFile gruppaFile(m_state.settingsFolder, N::Gruppa);
    gruppaFile.createIfMissing(N::GruppaDefault);
    const bool groupShown = gruppaFile.line(0, u"0"_s) == u"1";
    GHot->setColumnHidden(GroupColumn, !groupShown);

    sizePanelsAlike(panels(), panelGrids());
    const SettingsFile textFile(m_state.settingsFolder, N::TextSize);
    textFile.createIfMissing(N::TextSizeDefault);
    setTextSize(ViewSettings::loadTextSize(textFile.line(0, QString())));
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
    if (ratio.isIdentity())
        return;
    std::vector<QTableView*> grids{GHot};
    for (QTableView* grid : panelGrids())
        grids.push_back(grid);
    for (QTableView* grid : grids) {
        QFont font = grid->font();
        font.setPixelSize(ratio.apply(font.pixelSize()));
        grid->setFont(font);
        QHeaderView* rows = grid->verticalHeader();
        rows->setDefaultSectionSize(ratio.apply(rows->defaultSectionSize()));
    }
    // The panels' captions (waiter, order, table) grow with the names, as far as a caption of
    // the usual length still fits across its panel; their grids give up the room.
    QFont caption = GroupBox1->font();
    const int normal = caption.pixelSize();
    caption.setPixelSize(ratio.apply(normal));
    const QString usual = u"Кузнецов Дмитрий, № 131, Стол 12"_s;
    while (caption.pixelSize() > normal && QFontMetrics(caption).horizontalAdvance(usual) > GroupBox1->width() - 12)
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

void Form_Main::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Form_Main::FormShow()
{
    // A start that waits for its server shows the lost connection on the strip; the polling
    // fills the board once it has attached.
    const bool waiting = m_base && !m_base->MyDB.connected() && m_base->TimerHot.isActive();
    if (!waiting)
        reportErrors(m_dialogs, this, [this] {
            RefreshOrderList();
            FillPage();
        });
    if (m_forms.Vid && m_forms.Vid->RadioGroup2->itemIndex() > 0 && m_state.SoundFile.isEmpty()) {
        // Asked once the board is on the screen, so the boxes open over it.
        QTimer::singleShot(0, this, &Form_Main::warnMissingSoundFile);
    }
    if (!m_placed) {
        m_placed = true;
        // A full-screen board has its place already.
        if (!m_fullScreen)
            centreOnScreen(this, m_display.screenSize());
    }
}

void Form_Main::warnMissingSoundFile()
{
    m_dialogs.message(this, NoSoundFileWarning);
    BtnOptionClick();
}

void Form_Main::RefreshOrderList()
{
    m_board->RefreshOrderList();
}

void Form_Main::FillPage()
{
    m_board->FillPage();
}

void Form_Main::BtnNextClick()
{
    m_board->BtnNextClick();
}

void Form_Main::BtnPrevClick()
{
    m_board->BtnPrevClick();
}

void Form_Main::BtnAllClick()
{
    m_board->BtnAllClick();
}

void Form_Main::BtnNetClick()
{
    if (m_forms.Net)
        m_forms.Net->exec();
}

void Form_Main::BtnOptionClick()
{
    if (m_forms.Vid)
        m_forms.Vid->exec();
    IdleTimer.start();
}

void Form_Main::BtnLimitClick()
{
    if (m_forms.Limit)
        m_forms.Limit->exec();
}

void Form_Main::BtnReadyClick()
{
    if (m_forms.Ready)
        m_forms.Ready->showRecent();
}

void Form_Main::BtnExitClick()
{
    // One touch beside the paging buttons must not end the monitor in the middle of service.
    if (m_dialogs.question(this, Caption, ExitQuestion, Dialogs::Focus::Cancel))
        close();
}

void Form_Main::pressUndo()
{
    m_notDone = u"Заказ не возвращён в работу"_s;
    if (m_base)
        runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [this] { BtnUndoClick(); });
}

void Form_Main::takeBackNewest()
{
    if (StripReady->isVisibleTo(this) && !StripReady->press().lines.isEmpty())
        pressUndo();
    else if (recallNewest)
        recallNewest(); // then the recall list, newest first, one entry a press
}

void Form_Main::BtnUndoClick()
{
    const ReadyRecord::Press press = StripReady->press();
    if (!m_base || press.lines.isEmpty())
        return;
    JournalPress journal(*m_base, Journal::Kind::Undo, press.lines);
    m_base->WriteStatement(ReadyRecord::takeBack(press.lines));
    journal.done();
    m_readyRecord.takenBack(press.lines);
    StripReady->withdraw();
    // The second tap of a double tap lands on whatever lay under the strip.
    if (m_touchGuard)
        m_touchGuard->underFingerChanged();
    m_notDone = u"Заказы на доске не прочитаны заново"_s;
    RefreshOrderList();
    FillPage();
}

void Form_Main::showOrderReady(const ReadyRecord::Press& press)
{
    placeReadyStrip();
    StripReady->offer(press);
}

void Form_Main::takenBackElsewhere(const QList<ReadyRecord::Line>& lines)
{
    m_readyRecord.takenBack(lines);
    const QList<ReadyRecord::Line>& offered = StripReady->press().lines;
    if (std::any_of(offered.begin(), offered.end(), [&](const ReadyRecord::Line& line) {
            return std::any_of(lines.begin(), lines.end(), [&](const ReadyRecord::Line& back) { return back.key == line.key; });
        }))
        StripReady->withdraw();
}

void Form_Main::placeReadyStrip()
{
    const QRect status = Strip->geometry();
    const int bottom = Strip->isVisibleTo(page) ? status.top() : status.bottom() + 1;
    StripReady->move(status.x(), bottom - StripReady->height());
}

bool Form_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Strip && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        placeReadyStrip();
    return QWidget::eventFilter(watched, event);
}

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
    Opening o{BoardSql::hotOrderLines(order, m_board->AllOrders), caption, order, {}, {}};
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

void Form_Main::gridMouseDown(QTableView* grid, QPoint position)
{
    m_pressedGrid = grid;
    const int row = touchedRow(grid, position);
    const auto grids = panelGrids();
    const auto panel = std::find(grids.begin(), grids.end(), grid);
    m_pressed = panel == grids.end() ? hotOpening(row) : panelOpening(int(panel - grids.begin()), row);
}

bool Form_Main::releasedWherePressed(QTableView* grid, const std::optional<Opening>& now)
{
    const bool pressedHere = std::exchange(m_pressedGrid, nullptr) == grid;
    const std::optional<Opening> pressed = std::exchange(m_pressed, std::nullopt);
    return !pressedHere || pressed == now;
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

bool Form_Main::keyAction(KeyAction action)
{
    const int panel = m_board->chosenPanel();
    switch (action) {
    case KeyAction::Order1:
    case KeyAction::Order2:
    case KeyAction::Order3:
    case KeyAction::Order4:
    case KeyAction::Order5:
    case KeyAction::Order6:
        m_board->choosePanel(int(action) - int(KeyAction::Order1));
        return true;
    case KeyAction::PrevOrder:
    case KeyAction::NextOrder:
        m_board->stepOrder(action == KeyAction::NextOrder ? 1 : -1);
        return true;
    case KeyAction::PrevDish:
    case KeyAction::NextDish:
        m_board->stepDish(action == KeyAction::NextDish ? 1 : -1);
        return true;
    case KeyAction::DishReady:
    case KeyAction::OrderReady:
        if (panel < 0 || (action == KeyAction::DishReady && !m_board->choice().dish()))
            return panel >= 0;
        readyByKey(panel, action);
        return true;
    case KeyAction::TakeBack:
        takeBackNewest();
        return true;
    case KeyAction::AllOrders:
        BtnAllClick();
        return true;
    case KeyAction::PrevPage:
        BtnPrevClick();
        return true;
    case KeyAction::NextPage:
        BtnNextClick();
        return true;
    case KeyAction::HotQueue:
        BtnShowClick();
        return true;
    case KeyAction::OpenOrder:
        if (panel >= 0)
            openPanelOrder(panel, m_board->choice().dishIndex());
        return panel >= 0;
    case KeyAction::Close:
        m_board->dropChoice();
        return true;
    }
    return false;
}

void Form_Main::readyByKey(int panel, KeyAction action)
{
    const std::optional<Opening> opening = panelOpening(panel, m_board->choice().dishIndex());
    if (!opening || !m_forms.Detail || !m_base)
        return;
    const std::optional<qint64> dish = m_board->choice().dish();
    Form_Detail& detail = *m_forms.Detail;
    m_notDone = action == KeyAction::DishReady ? u"Блюдо не отмечено"_s : u"Заказ не отмечен"_s;
    if (!runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [&] {
            detail.loadOrder(opening->sql, opening->caption, opening->order, opening->dish);
        }))
        return;
    // The chosen dish may have left the order since the board was read: then the window's first
    // dish would be current, and that is not the cook's. The board is read again all the same.
    const bool gone = action == KeyAction::DishReady && (detail.Q->eof() || detail.Q->asInt64(u"KOD"_s) != dish);
    const bool done = gone || detail.readyKey(action);
    const bool dishReady = !gone && action == KeyAction::DishReady && detail.currentIsReady();
    detail.Q->close();
    if (!done)
        return;
    m_notDone = u"Заказы на доске не прочитаны заново"_s;
    if (!runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [this] {
            RefreshOrderList();
            FillPage();
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

void Form_Main::BtnShowClick()
{
    setHotExpanded(!m_state.HotExpanded);
}

void Form_Main::setHotExpanded(bool expanded)
{
    m_state.HotExpanded = expanded;
    // Expanded, the hot queue covers all six panels and leaves the row of buttons free; it
    // lies over them, so that a touch there reaches its rows, and under the sound panel and
    // the strips. Shrunk, it goes back under the panels.
    GHot->resize(GHot->width(), expanded ? GroupBox4->y() + GroupBox4->height() : m_state.HotNormalHeight);
    if (expanded)
        GHot->stackUnder(PanelSound);
    else
        GHot->stackUnder(GroupBox1);
}

void Form_Main::IdleTimerTimer()
{
    if (!m_idleClock || !m_forms.Vid)
        return;
    const quint32 lastInput = m_idleClock->lastInputTick();
    if (!IdleCheck::exceeded(m_idleClock->tickCount(), lastInput, m_forms.Vid->E_Idle->text()))
        return;
    if (GHot->height() != m_state.HotNormalHeight || m_state.HotExpanded)
        setHotExpanded(false);
    m_board->dropChoice();
    if (m_forms.Detail)
        m_forms.Detail->pressExit();
}

void Form_Main::CB_S1Click()
{
    m_board->CB_S1Click();
}

void Form_Main::closeEvent(QCloseEvent* event)
{
    // The close box and the window manager's own keys ask like the exit button: a cook's
    // ending is for good, and the kiosk start would not bring the monitor back.
    if (event->spontaneous() && !m_dialogs.question(this, Caption, ExitQuestion, Dialogs::Focus::Cancel)) {
        event->ignore();
        return;
    }
    m_closed = true;
    QWidget::closeEvent(event);
}
