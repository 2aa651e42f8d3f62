#pragma once
// The connection settings dialog: local or network mode and the database path. Each showing
// reloads "Net.txt"; a valid save rewrites it and ends the program, so the next start connects
// with the new setting.

#include "DesignDialog.h"

#include <array>

struct AppState;
class Dialogs;
class DisplayMode;
class Form_Psw;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class RadioGroup;

class Form_Net : public DesignDialog {
    Q_OBJECT
public:
    // psw is the password dialog, created after this one and reached through the pointer when
    // the user asks for it; mainWindow is closed after a save, ending the program.
    Form_Net(AppState& state, Dialogs& dialogs, DisplayMode& display, Form_Psw* const& psw,
             QWidget* mainWindow);

    QFrame* Bevel1;
    QLabel* Label1;
    RadioGroup* RadioGroup1;
    QFrame* Bevel2;
    QLabel* Label2;
    QLineEdit* E_Path;
    QToolButton* SpeedButton1;
    QFrame* Bevel3;
    QLabel* Label6;
    QLineEdit* E_IP1;
    QLineEdit* E_IP2;
    QLineEdit* E_IP3;
    QLineEdit* E_IP4; // its last group, and the server's port after a slash ("5/3051")
    // In place of the four groups once a letter, a colon or a bracket is typed in the first: the
    // server's name or IPv6 address with an optional port ("kitchen-srv/3051", "[fe80::5]").
    QLineEdit* E_Host;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* BitBtn2;
    QPushButton* Btn_Default;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;
    QPushButton* BitBtn1;

    void FormShow();
    void RadioGroup1Click();
    void Btn_DefaultClick();
    void SpeedButton1Click();
    void BitBtn2Click();
    void BtnOKClick();

    static const QString DefaultPath;
    static const QString DatabaseFilter;
    static const QString NoPathMessage;
    static const QString FileNotFoundMessage;
    static const QString AddressGroupMessage;
    static const QString ServerMessage;
    static const QString WrongPathMessage;
    static const QString RestartMessage;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    std::array<QLineEdit*, 4> addressFields() const { return {E_IP1, E_IP2, E_IP3, E_IP4}; }
    bool refuse(const QString& message, QLineEdit* field);
    bool validNetwork();
    bool validLocal();
    bool validServerPath();
    // Shows the server's name field in place of the groups, or the groups again.
    void showServerName(bool name);

    AppState& m_state;
    Dialogs& m_dialogs;
    Form_Psw* const& m_psw;
    QWidget* m_mainWindow;
};
