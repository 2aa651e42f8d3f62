#pragma once
// The on-screen keypad on which a cook types a dish limit: large keys for a touch screen, the
// point of sale's minimum checked, the limit written on the limit window's current item.

#include "DesignDialog.h"

#include <array>

struct AppState;
class Dialogs;
class DisplayMode;
class MenuBrowser;
class QLineEdit;
class QPushButton;

class Form_Klava : public DesignDialog {
    Q_OBJECT
public:
    // limitWindow owns the keypad; the keypad works only while that window is on the screen.
    Form_Klava(AppState& state, Dialogs& dialogs, DisplayMode& display, MenuBrowser& menu,
               QWidget* limitWindow);

    QLineEdit* Edit1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6, *BitBtn7, *BitBtn8,
        *BitBtn9, *BitBtn10, *BitBtn11, *BitBtn12, *BitBtn13;
    bool CommaEntered = false;

    // The ten digit keys by the numbers they carry: 0 to 9.
    std::array<QPushButton*, 10> digitKeys() const;

    void FormShow();
    void BitBtn1Click(int tag); // every digit key, with its own tag
    void BitBtn11Click();       // separator
    void BitBtn13Click();       // delete the last character
    void BitBtn12Click();       // confirm

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void confirm();

    AppState& m_state;
    Dialogs& m_dialogs;
    MenuBrowser& m_menu;
};
