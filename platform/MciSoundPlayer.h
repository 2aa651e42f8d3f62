#pragma once
// Sound files played through the Windows multimedia control interface, whose end-of-playback
// notice comes to a hidden window of the player's own.

#include "SoundPlayer.h"

#include <memory>

class MciSoundPlayer : public SoundPlayer {
public:
    MciSoundPlayer();
    ~MciSoundPlayer() override;
    void open(const QString& path) override;
    void stop() override;
    void rewind() override;
    void play() override;

private:
    class NoticeWindow;
    void close();
    unsigned needDevice() const;

    std::unique_ptr<NoticeWindow> m_notices;
    unsigned m_device = 0;
};
