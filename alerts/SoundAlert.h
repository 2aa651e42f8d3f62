#pragma once
// The sound that announces new dishes: a series of speaker beeps, or one playback of the chosen
// sound file under a flashing panel that switches it off when clicked.

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class Form_Base;
class QLabel;
class SoundPlayer;
class SpeakerTone;

class SoundAlert : public QObject {
    Q_OBJECT
public:
    // The live settings, read at each use from the view and sound settings window.
    struct Settings {
        std::function<int()> output;        // 0: the speaker; anything else: the sound file
        std::function<QString()> duration;  // beep duration, milliseconds, as typed
        std::function<QString()> amount;    // beeps in a series, as typed
    };

    SoundAlert(Form_Base& base, SpeakerTone& speaker, QLabel* panel, QTimer& timerColor, Settings settings,
               QObject* parent = nullptr);
    ~SoundAlert() override;

    static constexpr int ToneHz = 800;

    QTimer Timer_Signal; // the pause between speaker beeps, 170 ms
    int BeepCount = 0;   // beeps given in the current alert

    // One step of the alert: a beep of the series, or the start of the sound file. Throws when
    // the alert cannot sound: no file open in the player, or a beep setting that is no number.
    void Timer_SignalTimer();
    void MediaPlayer1Notify();
    void TimerColorTimer();
    void PanelSoundClick();

    // Why the last announcement was heard by nobody (no output device, the player's error);
    // empty while sound works.
    QString silence() const { return m_silence; }

signals:
    // A playback failed after it had started: it has ended as if it had finished, and this
    // is the player's text to tell the cooks.
    void failed(const QString& problem);
    // Sound stopped or started working: the board marks a silent monitor, the log says it once.
    void silenceChanged(const QString& silence);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form_Base& m_base;
    SoundPlayer& m_player; // outlives the alert, and must not call it once it is gone
    SpeakerTone& m_speaker;
    QLabel* m_panel;
    QTimer& m_timerColor;
    Settings m_settings;
    QString m_silence;

    void heard(const QString& silence);
};
