#pragma once
// The database password dialog: the default password or one of the site's own, stored scrambled
// in "psw.txt" for the next start. It never talks to the server and never reads the file.

#include "DesignDialog.h"

struct AppState;
class Dialogs;
class DisplayMode;
class Form_Util;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

class Form_Psw : public DesignDialog {
    Q_OBJECT
public:
    // util scrambles the password; mainWindow is closed after a save, ending the program.
    Form_Psw(AppState& state, Dialogs& dialogs, DisplayMode& display, Form_Util& util,
             QWidget* mainWindow);

    QLabel* Label1;
    RadioGroup* RadioGroup1;
    QLabel* Label3;
    QLabel* Label2;
    QLineEdit* EPsw;
    QLineEdit* EPsw2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;

    void FormCreate();
    void RadioGroup1Click();
    void BitBtn1Click();

    static const QString QuestionCaption;
    static const QString DefaultQuestion;
    static const QString NoPasswordMessage;
    static const QString MismatchMessage;
    static const QString LengthMessage;
    static constexpr int MaxPasswordLength = 255;
    static const QString LettersMessage;
    static const QString RestartMessage;

private:
    void buildControls();
    // Refuses the typed password; a wrong one is not kept for the next try.
    void refuse(const QString& message, bool clearFields);
    void store();

    AppState& m_state;
    Dialogs& m_dialogs;
    Form_Util& m_util;
    QWidget* m_mainWindow;
};
