// The real sound file player: a file it cannot play is found out when it is opened, and a
// playback ends and is told, whether it played or failed.

#include "PlatformError.h"
#include "QtSoundPlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {
// Half a second of a quiet tone, 8 kHz mono 16-bit PCM.
QByteArray waveFile()
{
    QByteArray samples;
    for (int i = 0; i < 4000; ++i) {
        const qint16 s = qint16((i % 20 < 10) ? 1000 : -1000);
        samples.append(reinterpret_cast<const char*>(&s), 2);
    }
    auto le32 = [](quint32 v) { v = qToLittleEndian(v); return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { v = qToLittleEndian(v); return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + le32(36 + samples.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000)
        + le32(16000) + le16(2) + le16(16) + "data" + le32(samples.size()) + samples;
}

QString put(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
    return f.fileName();
}
}

class TestQtSoundPlayer : public QObject {
    Q_OBJECT
private slots:
    void unplayableFileRefusedAtOpen_data();
    void unplayableFileRefusedAtOpen();
    void playbackEnds();
};

void TestQtSoundPlayer::unplayableFileRefusedAtOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("later"); // opened at start for a later play: refused at the play
    for (bool later : {false, true}) {
        QTest::addRow("text named .wav%s", later ? ", later" : "") << u"звонок.wav"_s << QByteArray("not a sound at all\r\n") << later;
        QTest::addRow("wave cut after its header%s", later ? ", later" : "") << u"cut.wav"_s << waveFile().left(20) << later;
    }
}

void TestQtSoundPlayer::unplayableFileRefusedAtOpen()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, later);
    QTemporaryDir dir;
    const QString good = put(dir, u"good.wav"_s, waveFile());
    const QString bad = put(dir, name, bytes);
    QtSoundPlayer player;
    int finished = 0;
    player.onFinished = [&] { ++finished; };
    player.open(good);

    QString told;
    try {
        if (later) {
            player.openLater(bad);
            player.stop();
            player.rewind();
            player.play();
        } else {
            player.open(bad);
        }
    } catch (const PlatformError& e) {
        told = QString::fromUtf8(e.what());
    }
    QVERIFY2(told.contains(bad), qPrintable(told));
    // Nothing is left open to play: the alert hears of it at once, not as a silent playback.
    QVERIFY_THROWS_EXCEPTION(PlatformError, player.play());
    QTest::qWait(200);
    QCOMPARE(finished, 0);
}

void TestQtSoundPlayer::playbackEnds()
{
    // The alert's flashing panel stays until the playback is told over, with a sound card or
    // without one.
    QTemporaryDir dir;
    QtSoundPlayer player;
    int ended = 0;
    player.onFinished = [&] { ++ended; };
    player.onFailed = [&](const QString&) { ++ended; };
    // Opened at start, the backend loads only with the first play.
    player.openLater(put(dir, u"good.wav"_s, waveFile()));
    QVERIFY(!player.loaded());
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(ended > 0, 10000);
}

QTEST_MAIN(TestQtSoundPlayer)
#include "TestQtSoundPlayer.moc"
