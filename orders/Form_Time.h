#pragma once
// The serving-time window: gives dishes of an order a fixed serving time or takes it away. It
// has no rows of its own: its grid shows the detail window's query and its current row.

#include "DesignDialog.h"

struct AppState;
class Clock;
class DataGrid;
class Dialogs;
class DisplayMode;
class Form_Base;
class Form_DateTime;
class Form_Detail;
class QPushButton;

class Form_Time : public DesignDialog {
    Q_OBJECT
public:
    Form_Time(AppState& state, Dialogs& dialogs, DisplayMode& display, const Clock& clock, QWidget* parent);

    // Binds the grid to the detail window's rows once the data module exists.
    void attach(Form_Base& base, Form_Detail& detail, Form_DateTime& picker);

    DataGrid* GridStrZakaz;
    QPushButton* BitBtn1; // assign
    QPushButton* BitBtn2; // remove
    QPushButton* BitBtn3; // close, the default button

    // Handlers; database errors are thrown.
    void BitBtn1Click();
    void GridStrZakazDblClick();
    void BitBtn2Click();

    static const QString RemoveCaption;
    static const QString RemoveQuestion;

private:
    Dialogs& m_dialogs;
    const Clock& m_clock;
    Form_Base* m_base = nullptr;
    Form_Detail* m_detail = nullptr;
    Form_DateTime* m_picker = nullptr;
};
