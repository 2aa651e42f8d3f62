// The settings object: every value of its table read from the files as a start finds them, and
// the settings window's edits reaching the object's readers.
#include "AppState.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "FileBytes.h"
#include "Form_Vid.h"
#include "RadioGroup.h"
#include "Settings.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Key = Settings::Key;
using Files = QMap<QString, QByteArray>;

namespace {
const QByteArray Folder = "<a folder in its place>";

void putFiles(const QString& folder, const Files& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (it.value() == Folder)
            QDir(folder).mkdir(it.key());
        else
            putFile(QDir(folder).filePath(it.key()), it.value());
    }
}

// What a reader gets for the key, through the object's own reading of it.
QString reading(const Settings& s, Key key)
{
    switch (key) {
    case Key::Screen: return s.fullScreen() ? u"Full"_s : u"Window"_s;
    case Key::Sections: {
        QStringList served;
        for (int i = 0; i < 5; ++i)
            if (s.sections()[size_t(i)])
                served << QString::number(i + 1);
        return served.join(u' ');
    }
    case Key::Gruppa: return s.groupShown() ? u"shown"_s : u"hidden"_s;
    case Key::TextSize: return QString::number(s.textSize());
    case Key::Output: return QString::number(s.output());
    default: return s.value(key);
    }
}
}

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    // For each value: no file (made with its default), a line that is no value, one out of its
    // range, a good one; "after" is what the files hold once read.
    void readsEachKey_data()
    {
        QTest::addColumn<Files>("stored");
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("read");
        QTest::addColumn<Files>("after");
        const auto row = [](const char* name, const Files& stored, Key key, const QString& read, const Files& after = {}) {
            QTest::newRow(name) << stored << key << read << after;
        };
        row("screen: missing", {}, Key::Screen, u"Window"_s, {{u"Screen.txt"_s, "Window\r\n"}});
        row("screen: lower case, mended", {{u"Screen.txt"_s, "full\r\n"}}, Key::Screen, u"Window"_s,
            {{u"Screen.txt"_s, "Window\r\n"}});
        row("screen: empty, mended", {{u"Screen.txt"_s, ""}}, Key::Screen, u"Window"_s, {{u"Screen.txt"_s, "Window\r\n"}});
        row("screen: unreadable, left alone", {{u"Screen.txt"_s, Folder}}, Key::Screen, u"Window"_s);
        row("screen: full", {{u"Screen.txt"_s, "Full\r\n"}}, Key::Screen, u"Full"_s, {{u"Screen.txt"_s, "Full\r\n"}});
        row("sections: missing", {}, Key::Sections, u"1"_s, {{u"Section.txt"_s, "1\r\n"}});
        row("sections: 3, 7 and 3", {{u"Section.txt"_s, "3\r\n7\r\n3\r\n"}}, Key::Sections, u"3"_s);
        row("sections: empty", {{u"Section.txt"_s, ""}}, Key::Sections, u""_s, {{u"Section.txt"_s, ""}});
        row("sections: unreadable", {{u"Section.txt"_s, Folder}}, Key::Sections, u"1"_s);
        row("groups: missing", {}, Key::Gruppa, u"hidden"_s, {{u"Gruppa.txt"_s, "0\r\n"}});
        row("groups: with a blank", {{u"Gruppa.txt"_s, "1 "}}, Key::Gruppa, u"hidden"_s);
        row("groups: on", {{u"Gruppa.txt"_s, "1\r\n"}}, Key::Gruppa, u"shown"_s);
        row("text size: missing", {}, Key::TextSize, u"0"_s, {{u"TextSize.txt"_s, "0\r\n"}});
        row("text size: garbage", {{u"TextSize.txt"_s, "02"}}, Key::TextSize, u"0"_s);
        row("text size: out of range", {{u"TextSize.txt"_s, "3"}}, Key::TextSize, u"0"_s);
        row("text size: very large", {{u"TextSize.txt"_s, "2\r\n"}}, Key::TextSize, u"2"_s);
        row("output: missing", {}, Key::Output, u"0"_s, {{u"tsound.txt"_s, "0\r\n"}});
        row("output: garbage", {{u"tsound.txt"_s, "звук"}}, Key::Output, u"0"_s);
        row("output: negative", {{u"tsound.txt"_s, "-1"}}, Key::Output, u"0"_s);
        row("output: after blank lines", {{u"tsound.txt"_s, " \r\n\r\n 1x"}}, Key::Output, u"1"_s);
        row("output: above 1 is the file", {{u"tsound.txt"_s, "7"}}, Key::Output, u"1"_s);
        row("sound file: with the file output", {{u"tsound.txt"_s, "1"}, {u"fsound.txt"_s, "\xc7.wav\r\nb.wav"}},
            Key::SoundFile, u"З.wav"_s);
        row("sound file: missing, never made", {{u"tsound.txt"_s, "1"}}, Key::SoundFile, u""_s, {{u"fsound.txt"_s, {}}});
        row("sound file: not with the speaker", {{u"tsound.txt"_s, "0"}, {u"fsound.txt"_s, "a.wav"}}, Key::SoundFile, u""_s);
        row("idle: missing", {}, Key::Idle, u"5"_s, {{u"Idle.txt"_s, "5\r\n"}});
        row("idle: garbage", {{u"Idle.txt"_s, "5a"}}, Key::Idle, u"5"_s, {{u"Idle.txt"_s, "5a"}});
        row("idle: empty", {{u"Idle.txt"_s, ""}}, Key::Idle, u"5"_s);
        row("idle: zero passes", {{u"Idle.txt"_s, "0\r\n"}}, Key::Idle, u"0"_s);
        row("idle: unreadable", {{u"Idle.txt"_s, Folder}}, Key::Idle, u"5"_s);
        row("duration: missing", {}, Key::Duration, u"50"_s, {{u"Signal.txt"_s, "50\r\n1\r\n"}});
        row("duration: garbage", {{u"Signal.txt"_s, "3OO\r\n3"}}, Key::Duration, u"50"_s);
        row("duration: out of range", {{u"Signal.txt"_s, "49\r\n11\r\n"}}, Key::Duration, u"50"_s);
        row("duration: highest", {{u"Signal.txt"_s, "2000\r\n10\r\n"}}, Key::Duration, u"2000"_s);
        row("amount: missing", {}, Key::Amount, u"1"_s);
        row("amount: one line only", {{u"Signal.txt"_s, "300"}}, Key::Amount, u"1"_s, {{u"Signal.txt"_s, "300"}});
        row("amount: out of range", {{u"Signal.txt"_s, "49\r\n11\r\n"}}, Key::Amount, u"1"_s);
        row("amount: highest", {{u"Signal.txt"_s, "2000\r\n10\r\n"}}, Key::Amount, u"10"_s);
    }
    void readsEachKey()
    {
        QFETCH(Files, stored);
        QFETCH(Key, key);
        QFETCH(QString, read);
        QFETCH(Files, after);
        QTemporaryDir dir;
        putFiles(dir.path(), stored);
        Settings settings(dir.path());
        QCOMPARE(settings.load(), QStringList());
        QCOMPARE(reading(settings, key), read);
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            const QString path = dir.filePath(it.key());
            QCOMPARE(QFileInfo::exists(path), !it.value().isNull());
            if (!it.value().isNull())
                QCOMPARE(fileBytes(path), it.value());
        }
        // "Net.txt" is made with the rest, for the connection to read.
        QCOMPARE(fileBytes(dir.filePath(u"Net.txt"_s)),
                 QByteArray("Local\r\nlocalhost:C:\\Program Files\\Parvolin\\dishbase.fdb\r\n"));
    }

    // What is typed into the settings window reaches the object's readers at once, told once,
    // whether the window is then cancelled or not; "stored" is what the next start reads after
    // the object has written the value's file.
    void windowWritesThrough_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("stored");
        QTest::newRow("idle") << u"E_Idle"_s << u"9"_s << Key::Idle << u"9"_s << u"9"_s;
        QTest::newRow("duration, the amount kept") << u"E_Duration"_s << u"300"_s << Key::Duration << u"300"_s << u"300"_s;
        QTest::newRow("amount, the duration kept") << u"E_Amount"_s << u"4"_s << Key::Amount << u"4"_s << u"4"_s;
        QTest::newRow("amount not a number") << u"E_Amount"_s << u"много"_s << Key::Amount << u"много"_s << u"1"_s;
        QTest::newRow("output to the file") << u"RadioGroup2"_s << u"1"_s << Key::Output << u"1"_s << u"1"_s;
    }
    void windowWritesThrough()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(Key, key);
        QFETCH(QString, read);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        putFiles(dir.path(), {{u"Signal.txt"_s, "200\r\n3\r\n"}});
        AppState state;
        state.settingsFolder = dir.path();
        Settings settings(dir.path());
        settings.load();
        FakeDialogs dialogs;
        FakeDisplayMode display;
        FakeSoundPlayer player;
        QTimer idleTimer;
        QWidget main;
        Form_Vid form(state, settings, dialogs, display, player, idleTimer, &main);
        QSignalSpy changed(&settings, &Settings::changed);

        form.show();
        if (field == u"RadioGroup2")
            form.RadioGroup2->item(typed.toInt())->click();
        else
            form.findChild<QLineEdit*>(field)->setText(typed);
        form.BitBtn2->click();
        QCOMPARE(reading(settings, key), read);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].value<Key>(), key);
        QCOMPARE(fileBytes(dir.filePath(u"Signal.txt"_s)), QByteArray("200\r\n3\r\n"));

        settings.store({key});
        Settings next(dir.path());
        next.load();
        QCOMPARE(reading(next, key), stored);
        // The other value of a shared file is kept.
        if (key == Key::Duration)
            QCOMPARE(next.amount(), u"3"_s);
        if (key == Key::Amount)
            QCOMPARE(next.duration(), u"200"_s);
    }
};

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
