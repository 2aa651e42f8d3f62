#include "QtSpeakerTone.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <cmath>
#include <numbers>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QString QtSpeakerTone::beep(int frequencyHz, int durationMs)
{
#ifdef Q_OS_WIN
    if (!Beep(DWORD(frequencyHz), DWORD(durationMs)))
        return QStringLiteral("the speaker refused the tone");
    return {};
#else
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        QThread::msleep(ulong(durationMs));
        return device.isNull() ? QStringLiteral("no audio output device") : QStringLiteral("the audio output takes no 16-bit mono");
    }
    const int samples = format.sampleRate() * durationMs / 1000;
    QByteArray pcm(samples * 2, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < samples; ++i)
        out[i] = qint16(12000 * std::sin(2 * std::numbers::pi * frequencyHz * i / format.sampleRate()));

    // The whole tone goes to the device at once; the caller waits for it, as it would for the
    // speaker itself.
    QAudioSink sink(device, format);
    sink.setBufferSize(int(pcm.size()) + 4096);
    QIODevice* stream = sink.start();
    const bool written = stream && stream->write(pcm) > 0;
    QThread::msleep(ulong(durationMs));
    const QAudio::Error error = sink.error();
    sink.stop();
    if (!written || (error != QAudio::NoError && error != QAudio::UnderrunError))
        return QStringLiteral("the audio output %1 refused the tone (error %2)").arg(device.description()).arg(int(error));
    return {};
#endif
}
