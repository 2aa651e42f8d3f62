#pragma once
// A tone on the system speaker.

#include <QString>

class SpeakerTone {
public:
    virtual ~SpeakerTone() = default;
    // Sounds the tone and returns when it has ended. Empty when it could sound; otherwise why
    // nobody heard it (no output device, the device refused it), for the log.
    virtual QString beep(int frequencyHz, int durationMs) = 0;
};
