#include "QtSoundPlayer.h"

#include "PlatformError.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

using namespace Qt::StringLiterals;

QtSoundPlayer::QtSoundPlayer()
    : m_player(std::make_unique<QMediaPlayer>()), m_output(std::make_unique<QAudioOutput>())
{
    m_player->setAudioOutput(m_output.get());
    QObject::connect(m_player.get(), &QMediaPlayer::playbackStateChanged, m_player.get(),
                     [this](QMediaPlayer::PlaybackState state) {
                         if (state == QMediaPlayer::StoppedState && onFinished)
                             onFinished();
                     });
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::open(const QString& path)
{
    m_open = false;
    // The media backend opens files lazily and reports later; a file that is not there is
    // told at once, as the cook's IT person would expect.
    if (!QFileInfo(path).isFile())
        throw PlatformError(u"Звуковой файл не найден: "_s + path);
    m_player->setSource(QUrl::fromLocalFile(path));
    if (m_player->error() != QMediaPlayer::NoError)
        throw PlatformError(m_player->errorString());
    m_open = true;
}

void QtSoundPlayer::stop()
{
    needFile();
    m_player->stop();
}

void QtSoundPlayer::rewind()
{
    needFile();
    m_player->setPosition(0);
}

void QtSoundPlayer::play()
{
    needFile();
    m_player->play();
}

void QtSoundPlayer::needFile() const
{
    if (!m_open)
        throw PlatformError(u"Звуковой файл не открыт"_s);
}
