#pragma once
// Sound files played through Qt Multimedia. The media backend and its plugins load with the
// first file opened or played, not with the program: a kitchen on the speaker never loads them.

#include "SoundPlayer.h"

#include <memory>

class QMediaPlayer;
class QAudioOutput;

class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void open(const QString& path) override;
    void openLater(const QString& path) override;
    void stop() override;
    void rewind() override;
    void play() override;
    QString silence() const override;

    // Whether the media backend has been loaded.
    bool loaded() const { return m_player != nullptr; }

    // How long open() waits for the media backend to say whether it can play the file.
    static constexpr int LoadWaitMs = 3000;

private:
    void needFile() const;
    void failed(const QString& playerText);
    void waitForLoad();
    void start(const QString& path); // forgets the file before, checks the new one is there
    void load();

    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_output;
    QString m_path;
    QString m_failure; // why the open file cannot be played, once the backend has said so
    bool m_open = false;
    bool m_playing = false;
    bool m_pending = false; // opened for later: loaded at the first play
};
