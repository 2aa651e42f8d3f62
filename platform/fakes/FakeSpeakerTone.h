#pragma once
#include "../SpeakerTone.h"

#include <QList>
#include <QPair>

class FakeSpeakerTone : public SpeakerTone {
public:
    QList<QPair<int, int>> beeps; // frequency, duration
    void beep(int frequencyHz, int durationMs) override { beeps.append({frequencyHz, durationMs}); }
};
