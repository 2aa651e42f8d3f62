#include "Form_Base.h"

Form_Base::Form_Base(AppState& state, SoundPlayer& player, QObject* parent)
    : QObject(parent), MediaPlayer1(player), m_state(state)
{
    setObjectName(QStringLiteral("Form_Base"));
    TimerHot.setInterval(5000);
    Timer_Signal.setInterval(170);
    TimerMenuStr.setInterval(200);
}
