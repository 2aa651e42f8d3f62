// The sound alert with a test speaker and player and Qt's own timers: the beep series and its
// pacing, the sound file under its flashing panel, and the panel's click.

#include "AppState.h"
#include "Settings.h"
#include "Clock.h"
#include "FakeDialogs.h"
#include "FakeSoundPlayer.h"
#include "FakeSpeakerTone.h"
#include "Form_Base.h"
#include "Form_Util.h"
#include "QtSpeakerTone.h"
#include "SilenceMark.h"
#include "SoundAlert.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
// A speaker that notes when each tone began.
struct TimedSpeaker : FakeSpeakerTone {
    QElapsedTimer clock;
    QList<qint64> starts;
    TimedSpeaker() { clock.start(); }
    QString beep(int hz, int ms) override
    {
        starts << clock.elapsed();
        const QString heard = FakeSpeakerTone::beep(hz, ms);
        QTest::qSleep(ms);
        return heard;
    }
};

struct Alert {
    explicit Alert(int output, QString duration = u"50"_s, QString amount = u"1"_s)
        : m_output(output), m_duration(std::move(duration)), m_amount(std::move(amount))
    {
        panel.hide();
        player.file = u"/tmp/bell.wav"_s;
    }
    AppState state;
    SystemClock clock;
    FakeDialogs dialogs;
    FakeSoundPlayer player;
    Form_Util util{clock};
    Settings settings{QString()};
    Form_Base base{settings, util, dialogs, player};
    TimedSpeaker speaker;
    QWidget board;
    QLabel panel{u"Выключить звук !"_s, &board};
    QTimer timerColor;
    int m_output;
    QString m_duration, m_amount;
    SoundAlert alert{base, speaker, &panel, timerColor,
                     {[this] { return m_output; }, [this] { return m_duration; }, [this] { return m_amount; }}};

    // What the polling cycle does when it finds new lines.
    void announce()
    {
        alert.BeepCount = 0;
        alert.Timer_SignalTimer();
    }
};
}

class TestSoundAlert : public QObject {
    Q_OBJECT
private slots:
    void oneBeep();
    void threeBeepsPaced();
    void newAlertRestartsTheSeries();
    void speakerNeverShowsThePanel();
    void fileplaysOncePerPlayback();
    void panelClickStopsTheSound();
    void panelFlashes();
    void failedPlaybackEndsIt();
    void cannotSound();
    void silenceIsMarked_data();
    void silenceIsMarked();
    void realToneTakesItsTime();
};

void TestSoundAlert::oneBeep()
{
    Alert a(0);
    a.announce();
    QCOMPARE(a.speaker.beeps, (QList<QPair<int, int>>{{800, 50}}));
    QVERIFY(!a.alert.Timer_Signal.isActive());
    QTest::qWait(400);
    QCOMPARE(a.speaker.beeps.size(), 1);
}

void TestSoundAlert::threeBeepsPaced()
{
    Alert a(0, u"50"_s, u"3"_s);
    a.announce();
    QTRY_COMPARE(a.speaker.beeps.size(), 3);
    QTest::qWait(400);
    QCOMPARE(a.speaker.beeps, (QList<QPair<int, int>>{{800, 50}, {800, 50}, {800, 50}}));
    QVERIFY(!a.alert.Timer_Signal.isActive());
    for (int i = 1; i < 3; ++i) {
        const qint64 gap = a.speaker.starts[i] - a.speaker.starts[i - 1] - 50;
        QVERIFY2(gap >= 165 && gap < 400, qPrintable(u"pause %1 ms"_s.arg(gap)));
    }
}

void TestSoundAlert::newAlertRestartsTheSeries()
{
    Alert a(0, u"50"_s, u"3"_s);
    a.announce();
    QTRY_COMPARE(a.speaker.beeps.size(), 2);
    a.announce(); // lines arrive during the series: a full series from here
    QTRY_COMPARE(a.speaker.beeps.size(), 5);
    QTest::qWait(400);
    QCOMPARE(a.speaker.beeps.size(), 5);
}

void TestSoundAlert::speakerNeverShowsThePanel()
{
    Alert a(0);
    a.announce();
    QVERIFY(a.panel.isHidden());
    QVERIFY(a.player.calls.isEmpty());
}

void TestSoundAlert::fileplaysOncePerPlayback()
{
    Alert a(1);
    a.announce();
    a.announce();
    QCOMPARE(a.player.calls, QStringList({u"stop"_s, u"rewind"_s, u"play"_s}));
    QVERIFY(!a.panel.isHidden());
    QVERIFY(a.timerColor.isActive());
    QVERIFY(a.speaker.beeps.isEmpty());
    QVERIFY(!a.alert.Timer_Signal.isActive());

    a.player.finish(); // the file has run out
    QVERIFY(a.panel.isHidden());
    QVERIFY(!a.timerColor.isActive());
    a.announce();
    QCOMPARE(a.player.calls.size(), 6);
}

void TestSoundAlert::panelClickStopsTheSound()
{
    Alert a(1);
    a.board.show();
    a.announce();
    QTest::mouseClick(&a.panel, Qt::LeftButton);
    QCOMPARE(a.player.calls.last(), u"stop"_s);
    QVERIFY(a.panel.isHidden());
    QVERIFY(!a.timerColor.isActive());
    a.announce();
    QCOMPARE(a.player.calls.mid(4), QStringList({u"stop"_s, u"rewind"_s, u"play"_s}));
}

void TestSoundAlert::panelFlashes()
{
    Alert a(1);
    auto colour = [&] { return a.panel.palette().color(QPalette::Window); };
    QPalette p = a.panel.palette();
    p.setColor(QPalette::Window, QColor(255, 0, 0));
    a.panel.setPalette(p);
    a.alert.TimerColorTimer();
    QCOMPARE(colour(), QColor(0, 0, 255));
    a.alert.TimerColorTimer();
    QCOMPARE(colour(), QColor(255, 0, 0));
}

void TestSoundAlert::failedPlaybackEndsIt()
{
    Alert a(1);
    QSignalSpy failed(&a.alert, &SoundAlert::failed);
    a.announce();
    a.player.fail(u"Нет декодера"_s); // told by the player after play() has returned
    QVERIFY(a.panel.isHidden());
    QVERIFY(!a.timerColor.isActive());
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().first().toString(), u"Нет декодера"_s);
    // The next dish does not bring the panel back over a file that cannot play.
    QVERIFY_THROWS_EXCEPTION(std::exception, a.announce());
    QVERIFY(a.panel.isHidden());
    QVERIFY(!a.timerColor.isActive());
}

void TestSoundAlert::cannotSound()
{
    Alert file(1);
    file.player.file.clear(); // nothing was opened
    QVERIFY_THROWS_EXCEPTION(std::exception, file.announce());
    Alert speaker(0, u"5O"_s);
    QVERIFY_THROWS_EXCEPTION(std::exception, speaker.announce());
    QVERIFY(speaker.speaker.beeps.isEmpty());
}

void TestSoundAlert::silenceIsMarked_data()
{
    // Each announcement in turn: "s" the speaker, "f" the file; then what it met: "-" heard,
    // "none" no output device, "fail" a player's error after the start, "refuse" play() refused.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("marks"); // the mark after each step: 1 shown, 0 gone
    QTest::addColumn<int>("warnings");  // log warnings: one per change to silence, not per dish
    QTest::newRow("a speaker without a sound server") << u"s:none s:none s:none"_s << u"111"_s << 1;
    QTest::newRow("sound server back") << u"s:none s:- s:-"_s << u"100"_s << 1;
    QTest::newRow("heard all along") << u"s:- f:-"_s << u"00"_s << 0;
    QTest::newRow("a file on no output device") << u"f:none f:-"_s << u"10"_s << 1;
    QTest::newRow("a file the player fails") << u"f:fail f:refuse"_s << u"11"_s << 1;
}

void TestSoundAlert::silenceIsMarked()
{
    QFETCH(QString, steps);
    QFETCH(QString, marks);
    QFETCH(int, warnings);
    Alert a(0);
    SilenceMark mark(&a.board);
    QObject::connect(&a.alert, &SoundAlert::silenceChanged, &mark, &SilenceMark::setSilence);
    QSignalSpy changes(&a.alert, &SoundAlert::silenceChanged);
    QString shown;
    for (const QString& step : steps.split(u' ')) {
        const QString what = step.section(u':', 1);
        a.m_output = step.startsWith(u's') ? 0 : 1;
        a.speaker.silence = what == u"none" ? u"no audio output device"_s : QString();
        a.player.silent = a.speaker.silence;
        a.player.failure = what == u"refuse" ? u"Нет декодера"_s : QString();
        try {
            a.announce();
        } catch (const std::exception&) {
            QCOMPARE(what, u"refuse"_s);
        }
        if (what == u"fail")
            a.player.fail(u"Нет декодера"_s);
        a.player.finish();
        shown += mark.isVisibleTo(&a.board) ? u'1' : u'0';
    }
    QCOMPARE(shown, marks);
    QCOMPARE(mark.text(), u"нет звука"_s);
    int silent = 0;
    for (const QList<QVariant>& change : changes)
        silent += change.first().toString().isEmpty() ? 0 : 1;
    QCOMPARE(silent, warnings);
}

void TestSoundAlert::realToneTakesItsTime()
{
    // With or without an audio device, the tone holds the caller for its duration, so that
    // the pauses of a series stay true.
    QtSpeakerTone tone;
    QElapsedTimer t;
    t.start();
    tone.beep(800, 120);
    QVERIFY(t.elapsed() >= 115);
    QVERIFY(t.elapsed() < 2000);
}

QTEST_MAIN(TestSoundAlert)
#include "TestSoundAlert.moc"
