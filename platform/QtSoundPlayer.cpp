#include "QtSoundPlayer.h"

#include "PlatformError.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

QtSoundPlayer::QtSoundPlayer() = default;

void QtSoundPlayer::load()
{
    if (!m_player) {
        m_player = std::make_unique<QMediaPlayer>();
        m_output = std::make_unique<QAudioOutput>();
        m_player->setAudioOutput(m_output.get());
        QObject::connect(m_player.get(), &QMediaPlayer::playbackStateChanged, m_player.get(),
                         [this](QMediaPlayer::PlaybackState state) {
                             if (state != QMediaPlayer::StoppedState)
                                 return;
                             m_playing = false;
                             if (onFinished)
                                 onFinished();
                         });
        // The backend tells its errors later, from its own events; a file it cannot decode is
        // otherwise "played" in silence and never ends.
        QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, m_player.get(),
                         [this](QMediaPlayer::Error, const QString& text) { failed(text); });
    }
    m_pending = false;
    m_player->setSource(QUrl::fromLocalFile(m_path));
    if (m_player->error() != QMediaPlayer::NoError)
        failed(m_player->errorString());
    waitForLoad();
    if (!m_failure.isEmpty())
        m_player->setSource(QUrl());
}

QtSoundPlayer::~QtSoundPlayer()
{
    // The player goes before its output, which it uses to the end, and its last signals find
    // nobody listening.
    if (m_player)
        m_player->disconnect();
    m_player.reset();
}

void QtSoundPlayer::failed(const QString& playerText)
{
    // The first error is the one that says why; the backend adds more in its wake.
    if (!m_failure.isEmpty())
        return;
    m_failure = u"Не удаётся воспроизвести звуковой файл %1: %2"_s.arg(
        m_path, playerText.isEmpty() ? u"формат файла не поддерживается"_s : playerText);
    if (!m_playing)
        return;
    m_playing = false;
    m_player->stop();
    if (onFailed)
        onFailed(m_failure);
}

void QtSoundPlayer::start(const QString& path)
{
    m_open = false;
    m_playing = false;
    m_pending = false;
    m_path = path;
    m_failure.clear();
    // The media backend opens files lazily and reports later; a file that is not there is
    // told at once, as the cook's IT person would expect.
    if (!QFileInfo(path).isFile())
        throw PlatformError(u"Звуковой файл не найден: "_s + path);
}

void QtSoundPlayer::open(const QString& path)
{
    start(path);
    load();
    if (!m_failure.isEmpty())
        throw PlatformError(m_failure);
    m_open = true;
}

void QtSoundPlayer::openLater(const QString& path)
{
    start(path);
    m_pending = true;
    m_open = true;
}

void QtSoundPlayer::waitForLoad()
{
    // Loading a local file takes the backend a few milliseconds; waiting for it lets the
    // settings dialog refuse a file that cannot be played when it is chosen. Keys and clicks
    // wait meanwhile, so nothing else is chosen under the wait.
    auto settled = [this] {
        const QMediaPlayer::MediaStatus s = m_player->mediaStatus();
        return !m_failure.isEmpty() || s == QMediaPlayer::LoadedMedia || s == QMediaPlayer::InvalidMedia
            || s == QMediaPlayer::NoMedia;
    };
    if (settled())
        return;
    QEventLoop loop;
    QTimer::singleShot(LoadWaitMs, &loop, &QEventLoop::quit);
    QObject::connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&] {
        if (settled())
            loop.quit();
    });
    QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_failure.isEmpty() && m_player->mediaStatus() == QMediaPlayer::InvalidMedia)
        failed(m_player->errorString());
}

// A file not loaded yet has nothing to stop and is at its start.
void QtSoundPlayer::stop()
{
    needFile();
    m_playing = false;
    if (!m_pending)
        m_player->stop();
}

void QtSoundPlayer::rewind()
{
    needFile();
    if (!m_pending)
        m_player->setPosition(0);
}

void QtSoundPlayer::play()
{
    needFile();
    if (m_pending)
        load();
    if (!m_failure.isEmpty())
        throw PlatformError(m_failure);
    m_playing = true;
    m_player->play();
}

QString QtSoundPlayer::silence() const
{
    return QMediaDevices::audioOutputs().isEmpty() ? u"no audio output device"_s : QString();
}

void QtSoundPlayer::needFile() const
{
    if (!m_open)
        throw PlatformError(u"Звуковой файл не открыт"_s);
}
