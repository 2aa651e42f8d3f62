#pragma once
// The view and sound settings dialog. Created once at start, it loads its settings files into
// its fields, and from then on those fields are the live settings: the board's idle check reads
// E_Idle, the sound alert reads RadioGroup2, E_Duration and E_Amount.

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
class SettingsFile;

class Form_Vid : public DesignDialog {
    Q_OBJECT
public:
    // idleTimer is the board's IdleTimer; mainWindow is closed after a save, ending the program.
    Form_Vid(AppState& state, Dialogs& dialogs, DisplayMode& display, SoundPlayer& player,
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

    static const QString SoundFilter;
    static const QString NoSoundFileMessage;
    static const QString IdleMessage;
    static const QString DurationMessage;
    static const QString AmountMessage;
    static const QString RestartMessage;
    static const QString DefaultsTakenMessage;

protected:
    void showEvent(QShowEvent* event) override;

private:
    SettingsFile file(const QString& name) const;
    void buildControls();

    AppState& m_state;
    Dialogs& m_dialogs;
    SoundPlayer& m_player;
    QTimer& m_idleTimer;
    QWidget* m_mainWindow;
};
