#pragma once
// "Итого": the served sections' dishes in work, one row a dish name, with how many across the
// orders, in how many orders, and the minutes of the oldest in the board's urgency colours and
// cues. A touch on a dish lists its orders (number, table, quantity, minutes); a touch on an
// order opens it as a touch on its panel would. The rows are the dishes in work as the last
// poll read them: the window asks the server nothing, and its minutes turn with the server's
// clock between the polls.

#include "DesignDialog.h"
#include "InputGate.h"
#include "KitchenWork.h"

#include <QTimer>
#include <functional>

struct AppState;
class DisplayMode;
class QLabel;
class QPushButton;
class QTableWidget;
class ServerClock;

class Form_AllDay : public DesignDialog {
    Q_OBJECT
public:
    // open: the order opened as from the board, with this dish current.
    using Opener = std::function<void(qint64 order, const QString& dish)>;

    Form_AllDay(AppState& state, DisplayMode& display, InputGate& gate, QWidget* parent);
    void attach(KitchenWork& work, ServerClock& clock, Opener open);

    QLabel* Heading;
    QTableWidget* G;
    QPushButton* BtnBack; // "Все блюда": back from a dish's orders
    QPushButton* BtnExit;

    // The dishes listed afresh and the window shown modally.
    void showAllDay();
    // The rows from the dishes in work as last read, the chosen row kept.
    void fill();
    // A touch or key on a row: a dish lists its orders, an order opens.
    void openRow(int row);
    // The list of the dishes again.
    void BtnBackClick();
    // What the keys do here, for the input gate to call.
    BrowseKeys keys();
    // The board returns to rest: the window closes unless a window of its own is open over it.
    void closeAtRest();

    // The dish whose orders are listed; empty while the dishes are.
    const QString& dish() const { return m_dish; }

    static const QString Caption;
    static const QString BackCaption;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Row {
        qint64 order = 0; // 0 on a dish's row
        QString dish;
        QStringList cells;
        TimingColours::Urgency urgency = TimingColours::Urgency::None;
        bool timed = false; // has a due moment: green on schedule, else the grid's navy
    };
    QList<Row> rows() const;
    void showRows(const QList<Row>& rows);
    void setColumns();
    std::optional<InputGate::TouchTarget> targetAt(QPoint position) const;
    void chooseRow(int row);

    InputGate& m_gate;
    KitchenWork* m_work = nullptr;
    ServerClock* m_clock = nullptr;
    Opener m_open;
    QString m_dish;
    QList<Row> m_rows;
    QTimer m_tick; // the minutes turn between the polls
};
