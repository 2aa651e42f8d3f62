// Program start: the windows in their fixed order, the files of a first start, and the first
// showing of the board when a sound file is expected but missing.

#include "AppState.h"
#include "FileBytes.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "Form_Main.h"
#include "Form_Vid.h"
#include "ProgramWindows.h"
#include "RadioGroup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct Start {
    explicit Start(const QString& folder) { state.settingsFolder = folder; }
    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display{QSize(1024, 768)};
    FakeSoundPlayer player;
    Platform platform() { return Platform{dialogs, display, player}; }
};

} // namespace

class TestProgramStart : public QObject {
    Q_OBJECT
private slots:
    void windowsComeInTheirOrder();
    void firstStartFiles();
    void missingSoundFileOpensTheSettings();
    void savedSettingsEndTheProgram();
};

void TestProgramStart::windowsComeInTheirOrder()
{
    QTemporaryDir dir;
    Start start(dir.path());
    QStringList order;
    bool readyDuringCreation = false;
    ProgramWindows windows(start.state, start.platform(), [&](const QString& name) {
        order << name;
        readyDuringCreation |= start.state.FormsReady;
    });
    QCOMPARE(order, QStringList({"Form_Main", "Form_Util", "Form_Net", "Form_Psw", "Form_Vid",
                                 "Form_Detail", "Form_Time", "Form_DateTime", "Form_Limit",
                                 "Form_Base", "Form_Klava"}));
    QVERIFY(!readyDuringCreation);
    QVERIFY(start.state.FormsReady);
    // The settings dialog switched the board's idle check on.
    QVERIFY(windows.forms().Main->IdleTimer.isActive());
}

void TestProgramStart::firstStartFiles()
{
    QTemporaryDir dir;
    Start start(dir.path());
    ProgramWindows windows(start.state, start.platform());
    const QStringList expected{"Gruppa.txt", "Idle.txt", "Net.txt", "Screen.txt",
                               "Section.txt", "Signal.txt", "tsound.txt"};
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(fileBytes(dir.filePath("Signal.txt")), QByteArray("50\r\n1\r\n"));
    QCOMPARE(fileBytes(dir.filePath("tsound.txt")), QByteArray("0\r\n"));
    QCOMPARE(fileBytes(dir.filePath("Idle.txt")), QByteArray("5\r\n"));
    QVERIFY(start.dialogs.messages.isEmpty());

    // Speaker output: the first showing asks nothing.
    windows.forms().Main->show();
    QTest::qWait(20);
    QVERIFY(start.dialogs.messages.isEmpty());
}

void TestProgramStart::missingSoundFileOpensTheSettings()
{
    QTemporaryDir dir;
    QVERIFY(putFile(dir.filePath("tsound.txt"), "1\r\n"));
    Start start(dir.path());
    ProgramWindows windows(start.state, start.platform());
    Form_Main* main = windows.forms().Main;
    Form_Vid* vid = windows.forms().Vid;
    QVERIFY(start.state.SoundFile.isEmpty());
    QCOMPARE(vid->RadioGroup2->itemIndex(), 1);

    bool settingsShown = false;
    bool idleOffWhileShown = false;
    start.dialogs.onMessage = [&] {
        QTimer::singleShot(0, vid, [&] {
            settingsShown = vid->isVisible();
            idleOffWhileShown = !main->IdleTimer.isActive();
            vid->reject();
        });
    };
    main->show();
    QTRY_VERIFY(settingsShown);
    QCOMPARE(start.dialogs.messages, QStringList{Form_Main::NoSoundFileWarning});
    QVERIFY(idleOffWhileShown);
    QTRY_VERIFY(!vid->isVisible());
    QVERIFY(main->IdleTimer.isActive());
}

void TestProgramStart::savedSettingsEndTheProgram()
{
    QTemporaryDir dir;
    Start start(dir.path());
    ProgramWindows windows(start.state, start.platform());
    Form_Main* main = windows.forms().Main;
    Form_Vid* vid = windows.forms().Vid;
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));

    QTimer::singleShot(0, vid, [&] {
        vid->RadioGroup1->setItemIndex(1);
        vid->BitBtn1->click();
    });
    main->BtnOption->click();
    QVERIFY(main->isClosed());
    QCOMPARE(fileBytes(dir.filePath("Screen.txt")), QByteArray("Full\r\n"));
    QCOMPARE(start.dialogs.messages, QStringList{Form_Vid::RestartMessage});
}

QTEST_MAIN(TestProgramStart)
#include "TestProgramStart.moc"
