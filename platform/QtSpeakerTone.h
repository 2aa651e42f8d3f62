#pragma once
// The speaker tone as a sine wave on the default audio output; with no audio output the tone's
// time still passes, so that a series keeps its pace.

#include "SpeakerTone.h"

class QtSpeakerTone : public SpeakerTone {
public:
    void beep(int frequencyHz, int durationMs) override;
};
