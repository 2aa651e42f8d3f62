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
    QString failure; // set by fail(): play() refuses until a file is opened again
    QString silent;  // why nobody hears a playback; empty: it is heard

    void open(const QString& path) override
    {
        calls << QStringLiteral("open ") + path;
        if (badFiles.contains(path)) {
            file.clear();
            throw PlatformError(QStringLiteral("Не удаётся открыть звуковой файл ") + path);
        }
        file = path;
        failure.clear();
    }
    void stop() override { need(QStringLiteral("stop")); }
    void rewind() override { need(QStringLiteral("rewind")); }
    void play() override
    {
        need(QStringLiteral("play"));
        if (!failure.isEmpty())
            throw PlatformError(failure);
    }
    QString silence() const override { return silent; }
    // Ends the playback as the real player does when the file has run out.
    void finish()
    {
        if (onFinished)
            onFinished();
    }
    // Fails the playback later on, as the real player does with a file it cannot decode.
    void fail(const QString& text)
    {
        failure = text;
        if (onFailed)
            onFailed(text);
    }

private:
    void need(const QString& call)
    {
        calls << call;
        if (file.isEmpty())
            throw PlatformError(QStringLiteral("Звуковой файл не открыт"));
    }
};
