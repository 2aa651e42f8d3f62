#include "Form_Main.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "CookAction.h"
#include "DataGrid.h"
#include "Form_AllDay.h"
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
#include "Scaling.h"
#include "Settings.h"
#include "StatusStrip.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

using Picture = ButtonPictures::Picture;

const QString Form_Main::Caption = u"Монитор кухни v"_s + QStringLiteral(MONITOR_VERSION);
const QString Form_Main::ExitQuestion = u"Завершить работу монитора кухни?"_s;
const QString Form_Main::NoSoundFileWarning =
    u"Звуковое оповещение настроено с использованием мульти-медиа звуков, однако не выбран звуковой файл для воспроизведения. Произведите настройку !"_s;


Form_Main::Form_Main(AppState& state, Settings& settings, Dialogs& dialogs, DisplayMode& display,
                     const Forms& forms)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_state(state), m_settings(settings), m_dialogs(dialogs),
      m_display(display), m_forms(forms)
{
    setObjectName(u"Form_Main"_s);
    resize(DesignWidth, DesignHeight);
    buildControls();
    new EnterKeyFilter(this, true);
    m_gate = new InputGate(this);
    // A key of the map is the board's and walks no grid; only Enter, "+" and "." with no order
    // chosen go on, to press a button the keyboard has focused.
    m_gate->routeKeys(this, boardKeys(), m_dialogs);
    // The idle deadline: one shot, moved on by every touch and key of the program's windows.
    IdleTimer.setSingleShot(true);
    IdleTimer.setInterval((IdleCheck::DefaultLimit + 1) * 1000);
    // A deadline stopped (the settings window open, a test) stays stopped.
    connect(m_gate, &InputGate::cookInput, this, [this] {
        if (IdleTimer.isActive() || m_idlePassed)
            restartIdle();
    });
    // A new idle time in the settings window counts from now.
    connect(&m_settings, &Settings::changed, this, [this](Settings::Key key) {
        if (key == Settings::Key::Idle && IdleTimer.isActive())
            restartIdle();
    });
    connect(&IdleTimer, &QTimer::timeout, this, [this] {
        m_idlePassed = true;
        // The deadline may pass again under the box that tells of a refusal: one box at a time.
        if (m_idleFailing)
            return;
        m_idleFailing = true;
        reportErrors(m_dialogs, this, [this] { IdleTimerTimer(); });
        m_idleFailing = false;
    });
    TimerColor.setInterval(1000);
    m_board = std::make_unique<OrderBoard>(state, settings, OrderBoard::Widgets{panels(), panelGrids(), sectionBoxes(), BtnAll, BtnPrev, BtnNext});
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
            refreshBoard();
        });
    if (m_settings.output() > 0 && m_settings.soundFile().isEmpty()) {
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

void Form_Main::refreshBoard()
{
    RefreshOrderList();
    FillPage();
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

void Form_Main::BtnAllDayClick()
{
    if (m_forms.AllDay)
        m_forms.AllDay->showAllDay();
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
    std::optional<TakenBack> back;
    if (StripReady->isVisibleTo(this) && m_presses && m_presses->offered()) {
        TakenBack offered{m_presses->offered()->order, {}};
        for (const auto& line : m_presses->offered()->lines)
            offered.lines << line.key;
        pressUndo();
        if (!m_presses->offered())
            back = offered;
    } else if (recallNewest)
        back = recallNewest(); // then the recall list, newest first, one entry a press
    // The cook sees what came back, and the next keys act on it, not on an order that the
    // take-back pushed onto another page, nor on a dish further down that order.
    if (back)
        m_board->chooseOrder(back->order, back->lines);
}

void Form_Main::BtnUndoClick()
{
    if (!m_base || !m_presses || !m_presses->undo())
        return;
    // The second tap of a double tap lands on whatever lay under the strip.
    m_gate->underFingerChanged();
    m_notDone = u"Заказы на доске не прочитаны заново"_s;
    refreshBoard();
}

void Form_Main::setPresses(PressService& presses)
{
    m_presses = &presses;
    connect(&presses, &PressService::pressed, this, [this](Journal::Kind kind, const ReadyRecord::Press& press) {
        if (kind != Journal::Kind::OrderReady)
            return;
        placeReadyStrip();
        StripReady->offer(press.number);
    });
    connect(&presses, &PressService::offerEnded, StripReady, &ReadyStrip::withdraw);
    connect(StripReady, &ReadyStrip::withdrawn, &presses, &PressService::dropOffer);
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

void Form_Main::restartIdle()
{
    const int limit = IdleCheck::limit(m_settings.idle());
    m_idlePassed = false;
    // Whole idle seconds beyond the limit, as the check counts them.
    IdleTimer.start(std::max(0, limit + 1) * 1000);
}

void Form_Main::IdleTimerTimer()
{
    if (!m_idleClock)
        return;
    const QString limit = m_settings.idle();
    const quint32 now = m_idleClock->tickCount();
    const quint32 lastInput = m_idleClock->lastInputTick();
    if (!IdleCheck::exceeded(now, lastInput, limit)) {
        // Input the gate did not see (a pointer moved): the deadline counts from it.
        const qint64 left = (qint64(IdleCheck::limit(limit)) + 1) * 1000 - qint64(quint32(now - lastInput));
        m_idlePassed = false;
        IdleTimer.start(int(std::clamp<qint64>(left, 0, 24 * 3600 * 1000)));
        return;
    }
    if (GHot->height() != m_state.HotNormalHeight || m_state.HotExpanded)
        setHotExpanded(false);
    m_board->dropChoice();
    if (m_forms.Detail)
        m_forms.Detail->pressExit();
    // Once the order's window over it has gone, at a later tick.
    if (m_forms.AllDay)
        m_forms.AllDay->closeAtRest();
}

void Form_Main::CB_S1Click()
{
    m_board->CB_S1Click();
}

bool Form_Main::confirmSection(int section, bool show)
{
    // A wet finger must not take a section's dishes off the board without a sign.
    const QString question = show ? u"Показывать цех №%1?"_s : u"Не показывать цех №%1?"_s;
    return m_dialogs.question(this, Caption, question.arg(section), Dialogs::Focus::Cancel);
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
