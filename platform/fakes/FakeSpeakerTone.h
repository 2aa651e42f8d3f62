#pragma once
#include "../SpeakerTone.h"

#include <QList>
#include <QPair>
#include <functional>

class FakeSpeakerTone : public SpeakerTone {
public:
    QList<QPair<int, int>> beeps; // frequency, duration
    std::function<void()> onBeep; // what happens while the speaker sounds
    QString silence; // why nobody hears the beeps; empty: they are heard
    QString beep(int frequencyHz, int durationMs) override
    {
        beeps.append({frequencyHz, durationMs});
        if (onBeep)
            onBeep();
        return silence;
    }
};
