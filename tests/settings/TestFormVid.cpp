// The view and sound settings dialog against settings files in a scratch folder.
#include "AppState.h"
#include "Settings.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "FileBytes.h"
#include "Form_Vid.h"
#include "PlatformError.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include "SettingsFile.h"

#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Files = QMap<QString, QByteArray>;

namespace {
const QString soundPath = u"С:\\Звук.wav"_s;
const QByteArray soundPathBytes = "\xd1:\\\xc7\xe2\xf3\xea.wav\r\n";

// Everything the dialog is built with; the dialog is declared last so it goes before its main window.
struct Rig {
    QTemporaryDir dir;
    AppState state;
    Settings settings{dir.path()};
    FakeDialogs dialogs;
    FakeDisplayMode display;
    FakeSoundPlayer player;
    QTimer idleTimer;
    QWidget mainWindow;
    std::unique_ptr<Form_Vid> form;

    explicit Rig(const Files& stored = {})
    {
        state.settingsFolder = dir.path();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            putFile(dir.filePath(it.key()), it.value());
    }
    Form_Vid& create()
    {
        settings.load();
        form = std::make_unique<Form_Vid>(state, settings, dialogs, display, player, idleTimer, &mainWindow);
        return *form;
    }
    // The files of the view and sound settings; the start also makes "Net.txt" and "Section.txt".
    Files onDisk() const
    {
        Files files;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            if (name != u"Net.txt" && name != u"Section.txt")
                files[name] = fileBytes(dir.filePath(name));
        return files;
    }
    // Fields are idle, duration and amount.
    void enter(int screen, bool gruppa, int output, const QStringList& fields)
    {
        form->RadioGroup1->setItemIndex(screen);
        form->CB_Gruppa->setChecked(gruppa);
        form->RadioGroup2->setItemIndex(output);
        form->E_Idle->setText(fields[0]);
        form->E_Duration->setText(fields[1]);
        form->E_Amount->setText(fields[2]);
    }
    QStringList fields() const
    {
        return {form->E_Idle->text(), form->E_Duration->text(), form->E_Amount->text()};
    }
    // Item 0 shows the beep fields, item 1 the sound file button instead.
    bool fieldsFollowOutput(int output) const
    {
        const bool speaker = output == 0;
        return form->E_Duration->isHidden() != speaker && form->E_Amount->isHidden() != speaker
            && form->Btn_SetupSound->isHidden() == speaker;
    }
};
}

class TestFormVid : public QObject {
    Q_OBJECT
private slots:
    void createsMissingFilesWithDefaults()
    {
        Rig rig;
        Form_Vid& form = rig.create();
        const Files defaults{{u"tsound.txt"_s, "0\r\n"}, {u"Idle.txt"_s, "5\r\n"}, {u"Gruppa.txt"_s, "0\r\n"},
                             {u"Signal.txt"_s, "50\r\n1\r\n"}, {u"TextSize.txt"_s, "0\r\n"},
                             {u"Screen.txt"_s, "Window\r\n"}};
        QCOMPARE(rig.onDisk(), defaults);
        QCOMPARE(form.RadioGroup2->itemIndex(), 0);
        QCOMPARE(rig.fields(), (QStringList{u"5"_s, u"50"_s, u"1"_s}));
        QVERIFY(!form.CB_Gruppa->isChecked());
        QVERIFY(rig.settings.soundFile().isEmpty());
        QVERIFY(rig.idleTimer.isActive());
        QVERIFY(rig.dialogs.messages.isEmpty());
    }

    // A file that cannot be read (here a folder of its name) takes its defaults with no box
    // waiting for a person (it is logged and the board's strip says so); the other files are
    // still read, so a new dish is still announced.
    void unreadableFileTakesDefaults_data()
    {
        QTest::addColumn<QString>("unreadable");
        QTest::addColumn<int>("output");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("tsound.txt") << u"tsound.txt"_s << 0 << QStringList{u"7"_s, u"300"_s, u"3"_s};
        QTest::newRow("Idle.txt") << u"Idle.txt"_s << 1 << QStringList{u"5"_s, u"300"_s, u"3"_s};
        QTest::newRow("Signal.txt") << u"Signal.txt"_s << 1 << QStringList{u"7"_s, u"50"_s, u"1"_s};
    }
    void unreadableFileTakesDefaults()
    {
        QFETCH(QString, unreadable);
        QFETCH(int, output);
        QFETCH(QStringList, fields);
        Files stored{{u"tsound.txt"_s, "1\r\n"}, {u"Idle.txt"_s, "7\r\n"}, {u"Signal.txt"_s, "300\r\n3\r\n"}};
        stored.remove(unreadable);
        Rig rig(stored);
        QVERIFY(QDir(rig.dir.path()).mkdir(unreadable));
        Form_Vid& form = rig.create();
        QCOMPARE(rig.dialogs.messages, QStringList());
        QVERIFY2(SettingsFile::unreadable().join(u' ').contains(unreadable + u": a folder in its place"_s),
                 qPrintable(SettingsFile::unreadable().join(u' ')));
        QCOMPARE(form.RadioGroup2->itemIndex(), output);
        QCOMPARE(rig.fields(), fields);
        QVERIFY(rig.idleTimer.isActive());
    }

    void loadsStoredFiles_data()
    {
        QTest::addColumn<Files>("stored");
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("soundFile");
        QTest::addColumn<bool>("gruppa");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("screen");
        const QStringList defaults{u"5"_s, u"50"_s, u"1"_s};
        QTest::newRow("multimedia with its file")
            << Files{{u"tsound.txt"_s, "1\r\n"}, {u"fsound.txt"_s, soundPathBytes}} << 1 << soundPath << false << defaults << 0;
        QTest::newRow("multimedia without its file") << Files{{u"tsound.txt"_s, "1"}} << 1 << u""_s << false << defaults << 0;
        QTest::newRow("speaker ignores the sound file")
            << Files{{u"tsound.txt"_s, "0"}, {u"fsound.txt"_s, "a.wav"}} << 0 << u""_s << false << defaults << 0;
        QTest::newRow("groups on") << Files{{u"Gruppa.txt"_s, "1\r\n"}} << 0 << u""_s << true << defaults << 0;
        QTest::newRow("groups with a blank stay off") << Files{{u"Gruppa.txt"_s, "1 "}} << 0 << u""_s << false << defaults << 0;
        // The view opens at the stored one: a kiosk whose text size is changed stays full screen.
        QTest::newRow("idle zero, fullscreen stored") << Files{{u"Idle.txt"_s, "0"}, {u"Screen.txt"_s, "Full\r\n"}}
                                                      << 0 << u""_s << false << QStringList{u"0"_s, u"50"_s, u"1"_s} << 1;
        QTest::newRow("window stored") << Files{{u"Screen.txt"_s, "Window\r\n"}} << 0 << u""_s << false << defaults << 0;
        QTest::newRow("a view line of neither") << Files{{u"Screen.txt"_s, "full\r\n"}} << 0 << u""_s << false << defaults << 0;
        QTest::newRow("signal out of range") << Files{{u"Signal.txt"_s, "49\r\n11\r\n"}} << 0 << u""_s << false << defaults << 0;
        QTest::newRow("signal of one line") << Files{{u"Signal.txt"_s, "300"}}
                                            << 0 << u""_s << false << QStringList{u"5"_s, u"300"_s, u"1"_s} << 0;
    }
    void loadsStoredFiles()
    {
        QFETCH(Files, stored);
        QFETCH(int, output);
        QFETCH(QString, soundFile);
        QFETCH(bool, gruppa);
        QFETCH(QStringList, fields);
        QFETCH(int, screen);
        Rig rig(stored);
        Form_Vid& form = rig.create();
        QCOMPARE(form.RadioGroup1->itemIndex(), screen);
        QCOMPARE(form.RadioGroup2->itemIndex(), output);
        QCOMPARE(rig.settings.soundFile(), soundFile);
        QCOMPARE(form.CB_Gruppa->isChecked(), gruppa);
        QCOMPARE(rig.fields(), fields);
        QVERIFY(rig.fieldsFollowOutput(output));
        // Stored files are only read (a wrong view line is mended: the board's tests); neither
        // sound file is ever made up.
        const Files disk = rig.onDisk();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            if (it.key() != u"Screen.txt")
                QCOMPARE(disk.value(it.key()), it.value());
        QVERIFY(!disk.contains(u"sound.txt"_s));
        QCOMPARE(disk.contains(u"fsound.txt"_s), stored.contains(u"fsound.txt"_s));
    }

    void outputChoiceSwapsFieldsAndShowStopsIdleTimer()
    {
        Rig rig;
        Form_Vid& form = rig.create();
        QVERIFY(rig.fieldsFollowOutput(0));
        form.RadioGroup2->setItemIndex(1);
        QVERIFY(rig.fieldsFollowOutput(1));
        form.RadioGroup2->setItemIndex(0);
        QVERIFY(rig.fieldsFollowOutput(0));

        QVERIFY(rig.idleTimer.isActive());
        form.show();
        QVERIFY(!rig.idleTimer.isActive());
        form.RadioGroup2->item(1)->click();
        QVERIFY(form.Btn_SetupSound->isVisible());
        QVERIFY(!form.E_Duration->isVisible() && !form.E_Amount->isVisible());
    }

    // 248x316 and the OK button at (0,262,120,25) by 1024/800, edges rounded.
    void scalesOnlyFromDesignSize()
    {
        for (const bool atDesignSize : {false, true}) {
            Rig rig;
            rig.state.AtDesignSize = atDesignSize;
            rig.display.screen = QSize(1024, 768);
            Form_Vid& form = rig.create();
            QCOMPARE(form.size(), atDesignSize ? QSize(317, 404) : QSize(248, 316));
            QCOMPARE(form.BitBtn1->geometry(), atDesignSize ? QRect(0, 335, 154, 32) : QRect(0, 262, 120, 25));
            // The text sizes read in their order, row by row: "Обычный", "Крупный", then "Очень крупный".
            form.show();
            const auto before = [&form](int a, int b) {
                const QRect first = form.RG_TextSize->item(a)->geometry(), second = form.RG_TextSize->item(b)->geometry();
                return first.top() < second.top() || (first.top() == second.top() && first.left() < second.left());
            };
            QVERIFY(before(0, 1) && before(1, 2));
        }
    }

    void choosingSoundFile_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("badForPlayer");
        QTest::addColumn<bool>("throws");
        QTest::addColumn<QByteArray>("fsound");
        QTest::addColumn<QString>("soundFile");
        const QByteArray old = "old.wav\r\n";
        QTest::newRow("cancelled") << u""_s << false << false << old << u"old.wav"_s;
        QTest::newRow("chosen") << soundPath << false << false << soundPathBytes << soundPath;
        // The choice is kept although the player cannot open it.
        QTest::newRow("refused by the player") << u"bad.wav"_s << true << true << QByteArray("bad.wav\r\n") << u"bad.wav"_s;
        QTest::newRow("outside the code page") << u"C:\\音乐.wav"_s << false << true << old << u"old.wav"_s;
    }
    void choosingSoundFile()
    {
        QFETCH(QString, answer);
        QFETCH(bool, badForPlayer);
        QFETCH(bool, throws);
        QFETCH(QByteArray, fsound);
        QFETCH(QString, soundFile);
        Rig rig({{u"tsound.txt"_s, "1\r\n"}, {u"fsound.txt"_s, "old.wav\r\n"}});
        Form_Vid& form = rig.create();
        QCOMPARE(rig.settings.soundFile(), u"old.wav"_s);
        rig.dialogs.files = {answer};
        if (badForPlayer)
            rig.player.badFiles = {answer};

        bool threw = false;
        try {
            form.Btn_SetupSoundClick();
        } catch (const PlatformError&) {
            threw = true;
        }
        QCOMPARE(threw, throws);
        QCOMPARE(rig.dialogs.filters, QStringList{u"Звуковые файлы (wav, mid, mp3)|*.wav; *.mid; *.mp3"_s});
        QCOMPARE(rig.onDisk().value(u"fsound.txt"_s), fsound);
        QCOMPARE(rig.settings.soundFile(), soundFile);
        const bool stored = !answer.isEmpty() && soundFile == answer;
        QCOMPARE(rig.player.calls, stored ? QStringList{u"open "_s + answer} : QStringList());
    }

    void refusedSaveChangesNothingOnDisk_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("soundFile");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, int output, const QString& soundFile, QStringList fields,
                            const QString& message) {
            QTest::newRow(name) << output << soundFile << fields << message;
        };
        // The rules on each value are covered with ViewSettings; here, one failure of each and the order.
        row("multimedia without a sound file", 1, u""_s, {u"7"_s, u"100"_s, u"3"_s}, Form_Vid::NoSoundFileMessage);
        row("idle zero", 0, u""_s, {u"0"_s, u"100"_s, u"3"_s}, Form_Vid::IdleMessage);
        row("duration too short", 0, u""_s, {u"7"_s, u"49"_s, u"3"_s}, Form_Vid::DurationMessage);
        row("amount too large", 0, u""_s, {u"7"_s, u"100"_s, u"11"_s}, Form_Vid::AmountMessage);
        row("idle reported first", 0, u""_s, {u""_s, u"1"_s, u"0"_s}, Form_Vid::IdleMessage);
        row("duration reported before amount", 0, u""_s, {u"7"_s, u"2001"_s, u"0"_s}, Form_Vid::DurationMessage);
        row("hidden duration still checked", 1, soundPath, {u"7"_s, u"49"_s, u"3"_s}, Form_Vid::DurationMessage);
    }
    void refusedSaveChangesNothingOnDisk()
    {
        QFETCH(int, output);
        QFETCH(QString, soundFile);
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        Rig rig;
        Form_Vid& form = rig.create();
        const Files before = rig.onDisk();
        rig.mainWindow.show();
        // Every other setting differs from the stored one, so any file written would show.
        rig.enter(1, true, output, fields);
        rig.settings.set(Settings::Key::SoundFile, soundFile);

        form.BitBtn1->click();
        QCOMPARE(rig.dialogs.messages, QStringList{message});
        QCOMPARE(rig.onDisk(), before);
        QVERIFY(rig.mainWindow.isVisible());
        if (message == Form_Vid::NoSoundFileMessage) {
            QCOMPARE(form.RadioGroup2->itemIndex(), 0);
            QVERIFY(rig.fieldsFollowOutput(0));
        }
    }

    void saveWritesEverySettingAndClosesMainWindow_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<bool>("gruppa");
        QTest::addColumn<int>("output");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<Files>("written");
        QTest::newRow("speaker in a window")
            << 0 << false << 0 << QStringList{u"7"_s, u"2000"_s, u"10"_s}
            << Files{{u"tsound.txt"_s, "0\r\n"}, {u"Screen.txt"_s, "Window\r\n"}, {u"Gruppa.txt"_s, "0\r\n"},
                     {u"Idle.txt"_s, "7\r\n"}, {u"Signal.txt"_s, "2000\r\n10\r\n"}, {u"TextSize.txt"_s, "0\r\n"}};
        QTest::newRow("multimedia full screen")
            << 1 << true << 1 << QStringList{u"1"_s, u"50"_s, u"1"_s}
            << Files{{u"sound.txt"_s, soundPathBytes}, {u"tsound.txt"_s, "1\r\n"}, {u"Screen.txt"_s, "Full\r\n"},
                     {u"Gruppa.txt"_s, "1\r\n"}, {u"Idle.txt"_s, "1\r\n"}, {u"Signal.txt"_s, "50\r\n1\r\n"},
                     {u"TextSize.txt"_s, "2\r\n"}};
    }
    void saveWritesEverySettingAndClosesMainWindow()
    {
        QFETCH(int, screen);
        QFETCH(bool, gruppa);
        QFETCH(int, output);
        QFETCH(QStringList, fields);
        QFETCH(Files, written);
        Rig rig;
        Form_Vid& form = rig.create();
        rig.mainWindow.show();
        rig.enter(screen, gruppa, output, fields);
        form.RG_TextSize->setItemIndex(written.value(u"TextSize.txt"_s) == "2\r\n" ? 2 : 0);
        rig.settings.set(Settings::Key::SoundFile, soundPath);

        form.BitBtn1->click();
        QCOMPARE(rig.dialogs.messages, QStringList{Form_Vid::RestartMessage});
        QCOMPARE(rig.onDisk(), written);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!rig.mainWindow.isVisible());
    }

    void typedValueIsLiveWithoutSaving()
    {
        Rig rig;
        Form_Vid& form = rig.create();
        form.show();
        form.E_Amount->setText(u"3"_s);
        form.BitBtn2->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(form.E_Amount->text(), u"3"_s);
        QCOMPARE(rig.onDisk().value(u"Signal.txt"_s), QByteArray("50\r\n1\r\n"));
    }
};

QTEST_MAIN(TestFormVid)
#include "TestFormVid.moc"
