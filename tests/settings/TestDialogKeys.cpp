// Enter on each button of the three settings dialogs presses that button, not OK.
#include "AppState.h"
#include "Settings.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "Form_Net.h"
#include "Form_Psw.h"
#include "Form_Util.h"
#include "Form_Vid.h"
#include "RadioGroup.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
struct Rig {
    QTemporaryDir dir;
    AppState state;
    Settings settings{dir.path()};
    FakeDialogs dialogs;
    FakeDisplayMode display;
    FakeClock clock;
    Form_Util util{clock};
    FakeSoundPlayer player;
    QTimer idleTimer;
    QWidget mainWindow;
    Form_Psw* psw = nullptr;
    std::unique_ptr<DesignDialog> form;

    explicit Rig(const QString& name)
    {
        state.settingsFolder = dir.path();
        if (name == u"Form_Vid")
            form = std::make_unique<Form_Vid>(state, settings, dialogs, display, player, idleTimer, &mainWindow);
        else if (name == u"Form_Net")
            form = std::make_unique<Form_Net>(state, dialogs, display, psw, &mainWindow);
        else
            form = std::make_unique<Form_Psw>(state, dialogs, display, util, &mainWindow);
    }
};
}

class TestDialogKeys : public QObject {
    Q_OBJECT
private slots:
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("pressed");
        QTest::newRow("Form_Vid Cancel") << u"Form_Vid"_s << u"BitBtn2"_s << u"BitBtn2"_s;
        QTest::newRow("Form_Vid sound file") << u"Form_Vid"_s << u"Btn_SetupSound"_s << u"Btn_SetupSound"_s;
        QTest::newRow("Form_Vid OK") << u"Form_Vid"_s << u"BitBtn1"_s << u"BitBtn1"_s;
        QTest::newRow("Form_Vid interval field") << u"Form_Vid"_s << u"E_Idle"_s << u"BitBtn1"_s;
        QTest::newRow("Form_Net Cancel") << u"Form_Net"_s << u"BtnCancel"_s << u"BtnCancel"_s;
        QTest::newRow("Form_Net defaults") << u"Form_Net"_s << u"Btn_Default"_s << u"Btn_Default"_s;
        QTest::newRow("Form_Net password") << u"Form_Net"_s << u"BitBtn2"_s << u"BitBtn2"_s;
        QTest::newRow("Form_Net path field") << u"Form_Net"_s << u"E_Path"_s << u"BtnOK"_s;
        QTest::newRow("Form_Psw Cancel") << u"Form_Psw"_s << u"BitBtn2"_s << u"BitBtn2"_s;
        QTest::newRow("Form_Psw password field") << u"Form_Psw"_s << u"EPsw"_s << u"BitBtn1"_s;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, focus);
        QFETCH(QString, pressed);
        Rig rig(dialog);
        DesignDialog& form = *rig.form;
        // Only where Enter goes is looked at here: the buttons do nothing when pressed.
        QMap<QString, QSignalSpy*> clicks;
        for (QPushButton* b : form.findChildren<QPushButton*>()) {
            QObject::disconnect(b, &QPushButton::clicked, nullptr, nullptr);
            clicks[b->objectName()] = new QSignalSpy(b, &QPushButton::clicked);
        }
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* target = form.findChild<QWidget*>(focus);
        QVERIFY(target);
        target->show(); // the sound file button shows only with the multimedia output
        target->setFocus();
        QCOMPARE(form.focusWidget(), target);
        QTest::keyClick(target, Qt::Key_Return);
        for (auto it = clicks.cbegin(); it != clicks.cend(); ++it)
            QVERIFY2(it.value()->size() == (it.key() == pressed ? 1 : 0), qPrintable(it.key()));
        qDeleteAll(clicks);
    }
};

QTEST_MAIN(TestDialogKeys)
#include "TestDialogKeys.moc"
