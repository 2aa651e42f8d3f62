#pragma once
// The order detail window: one order's dishes, marked ready one by one or all at once. The
// board hands it the order's lines ready to show; whenever it hides, the board is re-read.

#include "BoardSql.h"
#include "DesignDialog.h"

#include <functional>
#include <memory>

struct AppState;
class DataGrid;
class Dialogs;
class DisplayMode;
class Form_Base;
class Form_Time;
class Query;
class QueryModel;
class QPushButton;
class ServerTime;

class Form_Detail : public DesignDialog {
    Q_OBJECT
public:
    // What the window needs of the board.
    struct Board {
        std::function<ServedSections()> served; // the ticked sections, at the moment of use
        std::function<void()> refresh;          // RefreshOrderList, then FillPage
    };

    Form_Detail(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent);
    ~Form_Detail() override;

    // Binds the detail query to the data module's connection once the data module exists.
    void attach(Form_Base& base, ServerTime& time, Board board, Form_Time& servingTimes);

    std::unique_ptr<Query> Q; // the order's lines; on the read transaction
    QueryModel* DS;           // Q's rows for the grids of this window and the serving times
    DataGrid* G;
    QPushButton* BtnTime; // opens the serving-time window
    QPushButton* BtnStr;
    QPushButton* BtnAll;
    QPushButton* BtnExit;

    // The board's opening of an order: Q re-read with the given statement, the caption, and the
    // window shown modally. A failing statement is thrown before anything is shown.
    void showOrder(const QStringList& sql, const QString& caption);

    // The idle handling's press of BtnExit. With the serving-time window open over this one
    // it takes effect once that window has closed.
    void pressExit();

    // Q read again with its statement; the row with the given key becomes current, else the first.
    void reread(std::optional<qint64> key = std::nullopt);

    // Handlers; database errors are thrown.
    void BtnStrClick();
    void BtnAllClick();
    void BtnTimeClick();
    void FormHide();

    static const QString StrCaption;
    static const QString AllCaption;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    bool hasCurrentRow() const;

    Dialogs& m_dialogs;
    Board m_board;
    Form_Base* m_base = nullptr;
    Form_Time* m_servingTimes = nullptr;
    bool m_exitPending = false;
};
