#pragma once
// A player for one sound file at a time.

#include <QString>
#include <functional>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Opens the file for playing; throws PlatformError with the player's text when it cannot,
    // including a file it can tell at once it will not be able to play.
    virtual void open(const QString& path) = 0;
    // Opens the file for its first play: a player that is costly to load loads then, and a
    // file it cannot play fails that play. A file that is not there is told at once.
    virtual void openLater(const QString& path) { open(path); }
    // Stop, rewind and play throw PlatformError when no file is open, and play also when the
    // open file has already failed to play (until a file is opened again).
    virtual void stop() = 0;
    virtual void rewind() = 0;
    // Plays from the present position; onFinished runs when the playback ends or is stopped.
    virtual void play() = 0;
    // Why a playback would be heard by nobody even though the file plays (no output device);
    // empty when it can be heard.
    virtual QString silence() const { return {}; }
    std::function<void()> onFinished;
    // Runs when a playback that play() started fails later on, with the player's text: the
    // playback is over and onFinished may never come.
    std::function<void(const QString&)> onFailed;
};
