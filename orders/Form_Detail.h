#pragma once
// The order detail window: one order's dishes, marked ready one by one or all at once, and
// taken back to work when a "ready" was a mistake. The board hands it the order's lines ready
// to show; whenever it hides, the board is re-read.

#include "BoardSql.h"
#include "DbValue.h"
#include "DesignDialog.h"
#include "KeyDecisions.h"
#include "LineState.h"
#include "PressService.h"
#include "ReadyRecord.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <functional>
#include <memory>

struct AppState;
class DataGrid;
class Dialogs;
class DisplayMode;
class Form_Base;
class Form_Time;
class InputGate;
class PressService;
class Query;
class QueryModel;
class QLabel;
class QPushButton;
class ServerTime;

class Form_Detail : public DesignDialog {
    Q_OBJECT
public:
    // What the window needs of the board.
    struct Board {
        std::function<ServedSections()> served; // the ticked sections, at the moment of use
        std::function<void()> refresh;          // RefreshOrderList, then FillPage
        InputGate* input = nullptr;             // knows a double tap on the ready buttons
    };
    // The dish the cook touched, by the values of some of its fields; empty for none.
    using Dish = QList<QPair<QString, DbValue>>;

    Form_Detail(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent);
    ~Form_Detail() override;

    // Binds the detail query to the data module's connection once the data module exists.
    void attach(Form_Base& base, PressService& presses, ServerTime& time, Board board, Form_Time& servingTimes);

    std::unique_ptr<Query> Q; // the order's lines; on the read transaction
    QueryModel* DS;           // Q's rows for the grids of this window and the serving times
    // The order's waiter, number and table, in the type of its dishes: a kiosk shows no title bar.
    QLabel* Heading;
    DataGrid* G;
    QPushButton* BtnTime; // opens the serving-time window
    QPushButton* BtnStr;
    QPushButton* BtnAll;
    QPushButton* BtnExit;

    // The board's opening of an order: Q re-read with the given statement, the touched dish
    // current (else the first), the caption, and the window shown modally. A failing statement
    // is thrown before anything is shown.
    void showOrder(const QStringList& sql, const QString& caption, qint64 orderKey, const Dish& dish = {});
    // The same without showing the window, for a key that acts on the order from the board.
    void loadOrder(const QStringList& sql, const QString& caption, qint64 orderKey, const Dish& dish = {});

    // What the keys of the map do here, for the input gate: Up and Down choose a dish, Enter
    // and "+" press the buttons when they would mark ready, Esc closes.
    ListKeys keys();
    // The current dish is ready.
    bool currentIsReady() const;

    // The idle handling's close: a question open over the window is answered Cancel and goes
    // with it, and the board's touches wait as after a window that closed by itself. With the
    // serving-time window open over this one it takes effect once that window has closed.
    void pressExit();

    // Q read again with its statement; the row with the given key becomes current, else the first.
    void reread(std::optional<qint64> key = std::nullopt);

    // The cook's two actions, by touch or by key: the handler below, with a second press within
    // the double-tap time doing nothing and a failure told in one box.
    // False when the action failed.
    bool pressStr();
    bool pressAll();

    // Handlers; database errors are thrown. A ready dish or order is taken back only after a
    // question: the same spot marks ready, and the state may have changed since the cook looked.
    void BtnStrClick();
    void BtnAllClick();
    void BtnTimeClick();
    void FormHide();

    static const QString StrCaption;
    static const QString AllCaption;
    static const QString StrBackCaption;
    static const QString AllBackCaption;
    static QString dishBackQuestion(const QString& dish);
    static QString orderBackQuestion(const QString& number, const QStringList& dishes);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    bool hasCurrentRow() const;
    bool doubleTap();
    void stepDish(int step);
    void closeByItself();
    // Reads the order's lines in the served sections: whether all are ready, and its number.
    void readServedLines();
    // The served lines in that state, as they were read.
    QList<ReadyRecord::Line> servedLines(LineState state) const;
    void takeBackOrder();
    void showCaptions();

    Dialogs& m_dialogs;
    Board m_board;
    Form_Base* m_base = nullptr;
    PressService* m_presses = nullptr;
    Form_Time* m_servingTimes = nullptr;
    bool m_exitPending = false;
    PressService::OrderLines m_served; // the order's lines in the served sections
    qint64 m_order = 0;
    QString m_number;
    bool m_orderReady = false; // every served line of the order is ready
    QString m_notDone; // what the action under way would leave undone if it failed now
};
