#pragma once
// The never-shown data module: the database connection, its transactions and shared queries,
// the polling and signal timers, and the sound file player.

#include <QObject>
#include <QTimer>

struct AppState;
class SoundPlayer;

class Form_Base : public QObject {
    Q_OBJECT
public:
    Form_Base(AppState& state, SoundPlayer& player, QObject* parent = nullptr);

    QTimer TimerHot;      // the polling cycle, 5000 ms
    QTimer Timer_Signal;  // the pause between speaker beeps, 170 ms
    QTimer TimerMenuStr;  // the delayed reload of menu items, 200 ms
    SoundPlayer& MediaPlayer1;

private:
    AppState& m_state;
};
