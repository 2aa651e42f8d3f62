#pragma once
// The view and sound settings dialog. Created once at start, it shows the settings object's
// values in its fields and writes through it: what is typed into E_Idle, E_Duration and
// E_Amount and the choice of RadioGroup2 reach the idle check and the sound alert at once, saved
// or not; OK writes the files, which the next start reads.

#include "DesignDialog.h"

#include <functional>

struct AppState;
class Dialogs;
class DisplayMode;
class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RadioGroup;
class SoundPlayer;
class Settings;

class Form_Vid : public DesignDialog {
    Q_OBJECT
public:
    // idleTimer is the board's IdleTimer; mainWindow is closed after a save, ending the program.
    Form_Vid(AppState& state, Settings& settings, Dialogs& dialogs, DisplayMode& display, SoundPlayer& player,
             QTimer& idleTimer, QWidget* mainWindow);

    RadioGroup* RadioGroup1;
    QCheckBox* CB_Gruppa;
    QLabel* Label1;
    QLineEdit* E_Idle;
    RadioGroup* RadioGroup2;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Btn_SetupSound;
    QLineEdit* E_Duration;
    QLineEdit* E_Amount;
    RadioGroup* RG_TextSize; // the board's text size, stored with the view settings
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BtnStat; // "Статистика"
    std::function<void()> showStatistics;

    void FormCreate();
    void FormShow();
    void RadioGroup2Click();
    void Btn_SetupSoundClick();
    void BitBtn1Click();
    // The window was left alone and closes as Cancel: the fields that act at once take back
    // what was typed since it opened.
    void takeBackUntouched();

    static const QString SoundFilter;
    static const QString NoSoundFileMessage;
    static const QString IdleMessage;
    static const QString DurationMessage;
    static const QString AmountMessage;
    static const QString RestartMessage;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();

    AppState& m_state;
    Settings& m_settings;
    Dialogs& m_dialogs;
    SoundPlayer& m_player;
    QTimer& m_idleTimer;
    QWidget* m_mainWindow;
    struct {
        QString idle, duration, amount;
        int output = 0;
    } m_shown;
};
