#pragma once
// A player for one sound file at a time.

#include <QString>
#include <functional>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Opens the file for playing; throws PlatformError with the player's text when it cannot.
    virtual void open(const QString& path) = 0;
    // Stop, rewind and play throw PlatformError when no file is open.
    virtual void stop() = 0;
    virtual void rewind() = 0;
    // Plays from the present position; onFinished runs when the playback ends or is stopped.
    virtual void play() = 0;
    std::function<void()> onFinished;
};
