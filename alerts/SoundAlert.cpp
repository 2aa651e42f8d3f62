#include "SoundAlert.h"

#include "Form_Base.h"
#include "Log.h"
#include "PlatformError.h"
#include "SoundPlayer.h"
#include "SpeakerTone.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

int wholeNumber(const QString& text)
{
    bool ok = false;
    int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw PlatformError(u"\"%1\" не является целым числом"_s.arg(text));
    return value;
}

void setPanelColour(QLabel* panel, const QColor& colour)
{
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, colour);
    panel->setPalette(p);
}
}

SoundAlert::SoundAlert(Form_Base& base, SpeakerTone& speaker, QLabel* panel, QTimer& timerColor,
                       Settings settings, QObject* parent)
    : QObject(parent), m_base(base), m_player(base.MediaPlayer1), m_speaker(speaker), m_panel(panel),
      m_timerColor(timerColor), m_settings(std::move(settings))
{
    Timer_Signal.setInterval(170);
    Timer_Signal.setTimerType(Qt::PreciseTimer); // the pause between beeps is heard
    connect(&Timer_Signal, &QTimer::timeout, this, [this] {
        // The later beeps of a series; a beep setting spoiled meanwhile ends the series quietly.
        try {
            Timer_SignalTimer();
        } catch (const std::exception&) {
            Timer_Signal.stop();
        }
    });
    connect(&m_timerColor, &QTimer::timeout, this, &SoundAlert::TimerColorTimer);
    m_base.MediaPlayer1.onFinished = [this] { MediaPlayer1Notify(); };
    m_base.MediaPlayer1.onFailed = [this](const QString& problem) {
        MediaPlayer1Notify();
        heard(problem);
        emit failed(problem);
    };
    m_panel->installEventFilter(this);
}

SoundAlert::~SoundAlert()
{
    m_player.onFinished = nullptr;
    m_player.onFailed = nullptr;
}

void SoundAlert::Timer_SignalTimer()
{
    if (m_settings.output() == 0) {
        ++BeepCount;
        Timer_Signal.stop();
        const int duration = wholeNumber(m_settings.duration());
        const int amount = wholeNumber(m_settings.amount());
        const QString silence = m_speaker.beep(ToneHz, duration);
        if (BeepCount == 1) {
            heard(silence);
            if (silence.isEmpty())
                qCInfo(lcMonitor) << "sound:" << amount << "beep(s) of" << duration << "ms";
        }
        if (amount > BeepCount)
            Timer_Signal.start();
        return;
    }
    if (!m_panel->isHidden())
        return; // the file is playing: a new alert neither restarts it nor adds to it
    try {
        m_base.MediaPlayer1.stop();
        m_base.MediaPlayer1.rewind();
        m_base.MediaPlayer1.play();
    } catch (const std::exception& e) {
        heard(QString::fromUtf8(e.what()));
        throw;
    }
    heard(m_base.MediaPlayer1.silence());
    if (m_silence.isEmpty())
        qCInfo(lcMonitor) << "sound: the sound file";
    m_timerColor.start();
    m_panel->show();
}

void SoundAlert::heard(const QString& silence)
{
    if (silence == m_silence)
        return;
    if (silence.isEmpty())
        qCInfo(lcMonitor) << "sound: heard again";
    else
        qCWarning(lcMonitor).noquote() << "sound: nobody hears the announcements:" << Log::oneLine(silence);
    m_silence = silence;
    emit silenceChanged(m_silence);
}

void SoundAlert::MediaPlayer1Notify()
{
    m_timerColor.stop();
    m_panel->hide();
}

void SoundAlert::TimerColorTimer()
{
    setPanelColour(m_panel, m_panel->palette().color(QPalette::Window) == Red ? Blue : Red);
}

void SoundAlert::PanelSoundClick()
{
    // Stopping ends the playback, whose notification then finds everything off.
    m_base.MediaPlayer1.stop();
    m_timerColor.stop();
    m_panel->hide();
}

bool SoundAlert::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel && event->type() == QEvent::MouseButtonRelease) {
        try {
            PanelSoundClick();
        } catch (const std::exception&) {
            // No file open: there is no sound to stop, only the panel to hide.
            m_timerColor.stop();
            m_panel->hide();
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
