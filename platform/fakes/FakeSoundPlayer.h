#pragma once
#include "../PlatformError.h"
#include "../SoundPlayer.h"

#include <QStringList>

// Records what it was asked to do; refuses files listed in badFiles as a real player would.
class FakeSoundPlayer : public SoundPlayer {
public:
    QString file;
    QStringList calls;
    QStringList badFiles;

    void open(const QString& path) override
    {
        calls << QStringLiteral("open ") + path;
        if (badFiles.contains(path)) {
            file.clear();
            throw PlatformError(QStringLiteral("Не удаётся открыть звуковой файл ") + path);
        }
        file = path;
    }
    void stop() override { need(QStringLiteral("stop")); }
    void rewind() override { need(QStringLiteral("rewind")); }
    void play() override { need(QStringLiteral("play")); }
    // Ends the playback as the real player does when the file has run out.
    void finish()
    {
        if (onFinished)
            onFinished();
    }

private:
    void need(const QString& call)
    {
        calls << call;
        if (file.isEmpty())
            throw PlatformError(QStringLiteral("Звуковой файл не открыт"));
    }
};
