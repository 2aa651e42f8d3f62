#pragma once
// Sound files played through Qt Multimedia.

#include "SoundPlayer.h"

#include <memory>

class QMediaPlayer;
class QAudioOutput;

class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void open(const QString& path) override;
    void stop() override;
    void rewind() override;
    void play() override;

private:
    void needFile() const;
    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_output;
    bool m_open = false;
};
