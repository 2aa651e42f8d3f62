// The database password dialog: its checks, the password file it writes, and a start with that
// file against the real server.
#include "AppState.h"
#include "Settings.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "FileBytes.h"
#include "Form_Base.h"
#include "Form_Psw.h"
#include "Form_Util.h"
#include "RadioGroup.h"
#include "TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The dialog is declared last so it goes before its main window.
struct Rig {
    QTemporaryDir dir;
    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display;
    FakeClock clock;
    Form_Util util{clock};
    QWidget mainWindow;
    std::unique_ptr<Form_Psw> form;

    Rig()
    {
        state.settingsFolder = dir.path();
        clock.time = QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26, 535));
        form = std::make_unique<Form_Psw>(state, dialogs, display, util, &mainWindow);
        mainWindow.show();
        form->show();
    }
    void enter(const QString& password, const QString& confirmation)
    {
        form->RadioGroup1->setItemIndex(1);
        form->EPsw->setText(password);
        form->EPsw2->setText(confirmation);
    }
    QByteArray pswFile() const { return fileBytes(dir.filePath(u"psw.txt"_s)); }
};
}

class TestFormPsw : public QObject {
    Q_OBJECT
private slots:
    void ownPasswordFieldsFollowChoice()
    {
        Rig rig;
        QVERIFY(!rig.form->EPsw->isVisible() && !rig.form->Label2->isVisible());
        rig.enter(u"abc"_s, u"abc"_s);
        QVERIFY(rig.form->EPsw->isVisible() && rig.form->EPsw2->isVisible() && rig.form->Label3->isVisible());
        QCOMPARE(rig.form->EPsw->displayText(), u"***"_s);
        rig.form->RadioGroup1->setItemIndex(0);
        QVERIFY(!rig.form->EPsw2->isVisible() && !rig.form->Label3->isVisible());
    }

    void refusedPassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("kept");
        QTest::newRow("5 characters") << u"abc12"_s << u"abc12"_s << Form_Psw::LengthMessage << u""_s;
        QTest::newRow("256 characters") << QString(256, u'a') << QString(256, u'a') << Form_Psw::LengthMessage << u""_s;
        QTest::newRow("blank") << u"abc 12"_s << u"abc 12"_s << Form_Psw::LettersMessage << u""_s;
        QTest::newRow("Cyrillic letter") << u"abcж12"_s << u"abcж12"_s << Form_Psw::LettersMessage << u""_s;
        QTest::newRow("case differs, before length") << u"Ab1"_s << u"ab1"_s << Form_Psw::MismatchMessage << u""_s;
        QTest::newRow("empty confirmation") << u"abc123"_s << u""_s << Form_Psw::MismatchMessage << u""_s;
        QTest::newRow("empty password") << u""_s << u"abc123"_s << Form_Psw::NoPasswordMessage << u"abc123"_s;
    }
    void refusedPassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(QString, kept);
        Rig rig;
        rig.enter(password, confirmation);
        rig.form->BitBtn1->click();
        QTEST(rig.dialogs.messages.value(0), "message");
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.form->EPsw->text(), kept.isEmpty() ? QString() : password);
        QCOMPARE(rig.form->EPsw2->text(), kept);
        QCOMPARE(rig.form->focusWidget(), rig.form->EPsw);
        QCOMPARE(rig.pswFile(), QByteArray("<missing>"));
        QVERIFY(rig.form->isVisible());
        QVERIFY(rig.mainWindow.isVisible());
    }

    void storedPasswordReadsBack_data()
    {
        QTest::addColumn<QString>("typed");  // own password; empty for the default
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<bool>("existing"); // an earlier file, readable by every user
        QTest::newRow("6 characters") << u"abc123"_s << QByteArray("abc123") << false;
        QTest::newRow("8 characters over an open file") << u"Kitch7en"_s << QByteArray("Kitch7en") << true;
        QTest::newRow("default") << u""_s << QByteArray("quiltbank") << false;
        // The default's own length, refused before; and the longest Firebird takes.
        QTest::newRow("9 characters") << u"Kitchen12"_s << QByteArray("Kitchen12") << false;
        QTest::newRow("255 characters") << QString(255, u'k') << QByteArray(255, 'k') << false;
    }
    void storedPasswordReadsBack()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, password);
        QFETCH(bool, existing);
        Rig rig;
        const QString path = rig.dir.filePath(u"psw.txt"_s);
        if (existing) {
            QVERIFY(putFile(path, "old"));
            QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther));
        }
        // Fields typed and then left: the default choice ignores them, and asks first.
        rig.enter(typed.isEmpty() ? u"zzzzzz"_s : typed, typed.isEmpty() ? u"zzzzzz"_s : typed);
        if (typed.isEmpty()) {
            rig.form->RadioGroup1->setItemIndex(0);
            rig.dialogs.answers = {false};
            rig.form->BitBtn1->click();
            QCOMPARE(rig.dialogs.questions, QStringList{Form_Psw::QuestionCaption + u'|' + Form_Psw::DefaultQuestion});
            QCOMPARE(rig.pswFile(), QByteArray("<missing>"));
            QVERIFY(rig.form->isVisible());
        }
        rig.form->BitBtn1->click();
        // Saving asks first, with Cancel focused: the default by its own question.
        QCOMPARE(rig.dialogs.questions.size(), typed.isEmpty() ? 2 : 1);
        QVERIFY(!rig.dialogs.focused.contains(Dialogs::Focus::Ok));
        QCOMPARE(rig.dialogs.messages, QStringList{Form_Psw::RestartMessage});
        const QByteArray file = rig.pswFile();
        QCOMPARE(file.size(), 15 + password.size());
        QCOMPARE(rig.util.UnscramblePassword(file), password);
        // The database's password is its user's alone.
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(rig.form->result(), int(QDialog::Accepted));
        QVERIFY(!rig.mainWindow.isVisible());
    }

    // What the dialog stores lets the next start connect to a server that has that password.
    void startConnectsWithStoredPassword()
    {
        TestDatabase db;
        QVERIFY2(db.error().isEmpty(), qPrintable(db.error()));
        Rig rig;
        rig.enter(u"Kitch7en"_s, u"Kitch7en"_s);
        rig.form->BitBtn1->click();
        QCOMPARE(rig.dialogs.messages, QStringList{Form_Psw::RestartMessage});

        db.exec(u"ALTER USER SYSDBA PASSWORD 'Kitch7en'"_s);
        const auto restore = qScopeGuard([&] { db.exec(u"ALTER USER SYSDBA PASSWORD 'quiltbank'"_s); });
        QVERIFY(writeNetFile(rig.dir.path(), db.name()));
        FakeSoundPlayer player;
        const Settings settings(rig.dir.path());
        Form_Base base(settings, rig.util, rig.dialogs, player);
        QVERIFY(base.FormCreate());
    }
};

QTEST_MAIN(TestFormPsw)
#include "TestFormPsw.moc"
