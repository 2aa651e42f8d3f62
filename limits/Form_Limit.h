#pragma once
// The limit window: the open shift's menu by section or by name, with each item's limit. A
// limit is set on the keypad and cleared here; the menu itself lives in the data module.

#include "DesignDialog.h"

#include <QSet>

struct AppState;
class Dialogs;
class DisplayMode;
class MenuBrowser;
class Form_Klava;
class QCheckBox;
class QLineEdit;
class QPushButton;
class DataGrid;

class Form_Limit : public DesignDialog {
    Q_OBJECT
public:
    Form_Limit(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent);

    // The data module is created after this window, and the keypad after both.
    void attach(MenuBrowser& menu, Form_Klava& klava);

    DataGrid* GridRazdel;
    DataGrid* GridStr;
    QCheckBox* CB_Context;
    QLineEdit* Edit1;
    QPushButton* Btn_AddLimit;
    QPushButton* Btn_ClearLimit;
    QPushButton* Btn_Exit;

    void FormShow();
    void CB_ContextClick();
    void Edit1KeyUp();
    void Btn_AddLimitClick();
    void Btn_ClearLimitClick();

    static const QString ClearCaption;
    static const QString ClearQuestion;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showSearchMode();
    void setItemsEnabled(bool enabled);

    AppState& m_state;
    Dialogs& m_dialogs;
    MenuBrowser* m_menu = nullptr;
    Form_Klava* m_klava = nullptr;
    QSet<int> m_keysDown; // pressed while the search box had the focus
};
