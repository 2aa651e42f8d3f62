#pragma once
// The order board: the hot queue, six order panels, the row of buttons and the served sections.
// Its creation step lays it out for the screen from the settings files.

#include "ButtonPictures.h"
#include "DataGrid.h"
#include "DbValue.h"
#include "KeyDecisions.h"
#include "Scaling.h"

#include <QTimer>

#include <functional>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

struct AppState;
class Settings;
struct Forms;
class Dialogs;
class DisplayMode;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

class Form_Base;
class IdleClock;
class InputGate;
class OrderBoard;
class PressService;
class QueryModel;
class ReadyStrip;
class ServerTime;
class StatusStrip;

class Form_Main : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 805;
    static constexpr int DesignHeight = 607;
    // The display mode that full-screen mode asks for, and the part of the board it shows.
    static constexpr int FullScreenWidth = 800;
    static constexpr int FullScreenHeight = 600;

    Form_Main(AppState& state, Settings& settings, Dialogs& dialogs, DisplayMode& display, const Forms& forms);
    ~Form_Main() override;

    QWidget* page;
    DataGrid* GHot;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5, *GroupBox6;
    DataGrid *G1, *G2, *G3, *G4, *G5, *G6;
    QPushButton* BtnNet;
    QPushButton* BtnOption;
    QGroupBox* GB_Section;
    QCheckBox *CB_S1, *CB_S2, *CB_S3, *CB_S4, *CB_S5;
    QPushButton* BtnLimit;
    QPushButton* BtnShow;
    QPushButton* BtnReady; // "Готовые": the recall list
    QPushButton* BtnAllDay; // "Итого": the dishes in work by name
    QPushButton* BtnAll;
    QPushButton* BtnPrev;
    QPushButton* BtnNext;
    QPushButton* BtnExit;
    QLabel* PanelSound;
    StatusStrip* Strip; // a failing polling, shown without stopping anything
    ReadyStrip* StripReady; // the order just marked ready, for a while, with its undo
    QTimer IdleTimer; // the idle deadline: one shot, moved on by every touch and key
    QTimer TimerColor;

    // The order pages: panels, paging, filter and mode.
    OrderBoard& board() const { return *m_board; }

    std::array<QGroupBox*, 6> panels() const;
    std::array<QTableView*, 6> panelGrids() const;
    std::array<QCheckBox*, 5> sectionBoxes() const;

    // Binds the hot queue and the order panels to the data module's connection.
    void attachDatabase(Form_Base& base);
    // The server's time as the board's grids read it, for every grid that colours dishes.
    ServerTime& serverTime() const { return *m_serverTime; }
    // The machine's record of the last input, for the idle check.
    void setIdleClock(IdleClock& clock) { m_idleClock = &clock; }
    // The one road for the cooks' presses: the strip shows what it offers back.
    void setPresses(PressService& presses);

    void FormCreate();
    void FormShow();
    bool SetFullScreenMode();
    bool isFullScreenMode() const { return m_fullScreen; }
    bool isClosed() const { return m_closed; }

    // Board operations; they do nothing until every window exists.
    void RefreshOrderList();
    void FillPage();
    // The order list read again and the page filled from it: after every action and poll.
    void refreshBoard();

    void BtnNetClick();
    void BtnOptionClick();
    void BtnExitClick();
    void CB_S1Click();
    void BtnNextClick();
    void BtnPrevClick();
    void BtnAllClick();
    void BtnLimitClick();
    void BtnReadyClick();
    void BtnAllDayClick();
    // Takes back the last "Заказ полностью готов": its lines that are still ready, each to its
    // state before the press. The touch's and a key's entry: a failure is told in one box.
    void pressUndo();
    void BtnUndoClick();

    // Opening an order, by touch or by key: the order of an order panel with the dish in the
    // given row current (none: the first), or the order of a row of the hot queue (none: the
    // chosen row). A failure is told in one box.
    void openPanelOrder(int panel, int row);
    void openHotOrder(int row);
    // An order opened as from its panel, whatever page it is on, with the first line of the
    // dish current: the all-day view's touch.
    void openOrderOf(qint64 order, const QString& dish);

    // A click on an order panel opens that order, whichever row and button it fell on; the dish
    // touched is the current one there. Positions are in the grid's viewport. A release opens
    // nothing when the place holds another order or dish than at the press: a poll may reflow
    // the board while the finger rests on it.
    void G1MouseUp(QPoint position) { panelMouseUp(0, position); }
    void G2MouseUp(QPoint position) { panelMouseUp(1, position); }
    void G3MouseUp(QPoint position) { panelMouseUp(2, position); }
    void G4MouseUp(QPoint position) { panelMouseUp(3, position); }
    void G5MouseUp(QPoint position) { panelMouseUp(4, position); }
    void G6MouseUp(QPoint position) { panelMouseUp(5, position); }
    // A click on the hot queue opens the order of the row it touched (the row indicator
    // included), or else of the chosen row.
    void GHotMouseUp(QPoint position);
    void BtnShowClick();
    void IdleTimerTimer();

    // Every touch and key of the program's windows passes the board's input gate; other
    // windows route their keys there too.
    InputGate& gate() const { return *m_gate; }
    // What the keys of the map do at the board, for the input gate: the same steps, guards and
    // boxes as the touches they stand for.
    BoardKeys boardKeys();
    // Takes back the newest "ready" this monitor made that can still be taken back: the strip's
    // press while the strip lasts, then the recall list's newest entry. The order taken back is
    // chosen, and its page shown, with the first of its dishes taken back.
    void takeBackNewest();
    // What a take-back returned to work: the order, and its lines in the press's order.
    struct TakenBack {
        qint64 order = 0;
        QList<qint64> lines;
    };
    // The recall list's newest entry taken back; none when nothing was.
    std::function<std::optional<TakenBack>()> recallNewest;

    static const QString Caption;
    static const QString NoSoundFileWarning;
    static const QString ExitQuestion;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a touch would open: the order's lines, its caption and key, the dish to make current,
    // and the line it was told by.
    struct Opening {
        QStringList sql;
        QString caption;
        qint64 order = 0;
        QList<QPair<QString, DbValue>> dish;
        QList<DbValue> line;
        bool operator==(const Opening& o) const { return order == o.order && line == o.line; }
    };
    std::optional<Opening> panelOpening(int panel, int row) const;
    std::optional<Opening> hotOpening(int row) const;
    void openOrder(const std::optional<Opening>& opening);
    void gridMouseDown(QTableView* grid, QPoint position);
    // Whether the input gate lets the release act: it finds what the press found there.
    bool releasedWherePressed(QTableView* grid, const std::optional<Opening>& now);

    void buildControls();
    QPushButton* pictureButton(const char* name, const QString& text, ButtonPictures::Picture picture,
                               const QRect& place,
                               const QString& hint);
    ScaleRatio fillScreen(QSize screen); // the type's ratio
    void setTextSize(int size);
    void sizeHotColumns(bool groupShown);
    void sizePanelColumns();
    void warnMissingSoundFile();
    void panelMouseUp(int panel, QPoint position);
    // The ready keys at the board: the chosen dish or the chosen order's shown dishes marked
    // ready through the press service, as the order window's buttons would.
    void readyByKey(bool wholeOrder);
    // A touch on a section box asks first; Cancel leaves the box as it was.
    bool confirmSection(int section, bool show);
    // The idle deadline from now: the idle time of the settings after the last touch or key.
    void restartIdle();
    void setHotExpanded(bool expanded);
    void placeReadyStrip();

    AppState& m_state;
    Settings& m_settings;
    Dialogs& m_dialogs;
    DisplayMode& m_display;
    const Forms& m_forms;
    QueryModel* m_hotModel;
    std::unique_ptr<OrderBoard> m_board;
    std::unique_ptr<ServerTime> m_serverTime;
    Form_Base* m_base = nullptr;
    IdleClock* m_idleClock = nullptr;
    InputGate* m_gate;
    PressService* m_presses = nullptr;
    QString m_notDone;
    bool m_idleFailing = false; // an idle check is running, or its failure is on the screen
    bool m_idlePassed = false;  // the idle deadline has passed: the next input sets a new one
    bool m_fullScreen = false;
    ScaleRatio m_typeRatio;
    int m_textSize = 0;
    bool m_placed = false;
    bool m_closed = false;
};
