#pragma once
// The speaker tone as a sine wave on the default audio output; with no audio output (no sound
// server on a minimal kiosk PC) the tone's time still passes, so that a series keeps its pace,
// and the beep says that nobody heard it.

#include "SpeakerTone.h"

class QtSpeakerTone : public SpeakerTone {
public:
    QString beep(int frequencyHz, int durationMs) override;
};
