#pragma once
// A tone on the system speaker.

class SpeakerTone {
public:
    virtual ~SpeakerTone() = default;
    // Sounds the tone and returns when it has ended.
    virtual void beep(int frequencyHz, int durationMs) = 0;
};
