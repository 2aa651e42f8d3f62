// The connection settings dialog against "Net.txt" in a scratch folder.
#include "AppState.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FileBytes.h"
#include "Form_Net.h"
#include "Form_Psw.h"
#include "Form_Util.h"
#include "RadioGroup.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const QByteArray defaultNet = "Local\r\nlocalhost:C:\\Program Files\\Parvolin\\dishbase.fdb\r\n";

// The dialog is declared last so it goes before its main window.
struct Rig {
    QTemporaryDir dir;
    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display;
    FakeClock clock;
    Form_Util util{clock};
    QWidget mainWindow;
    Form_Psw* psw = nullptr;
    std::unique_ptr<Form_Net> form;

    explicit Rig(const QByteArray& net = defaultNet)
    {
        state.settingsFolder = dir.path();
        putFile(netPath(), net);
        form = std::make_unique<Form_Net>(state, dialogs, display, psw, &mainWindow);
        mainWindow.show();
    }
    QString netPath() const { return dir.filePath(u"Net.txt"_s); }
    // Address groups, then the path.
    void enter(int item, const QStringList& fields)
    {
        form->RadioGroup1->setItemIndex(item);
        const QList<QLineEdit*> edits{form->E_IP1, form->E_IP2, form->E_IP3, form->E_IP4, form->E_Path};
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setText(fields[i]);
        // A server's name is typed (the groups left empty): its first letter moves it to the
        // name's field.
        if (fields[1].isEmpty() && fields[0].contains(QRegularExpression(u"[a-z:\\[]"_s))) {
            form->E_IP1->clear();
            QTest::keyClicks(form->E_IP1, fields[0].left(1));
            QTest::keyClicks(form->E_Host, fields[0].mid(1));
        }
    }
    QStringList fields() const
    {
        QStringList shown{form->E_IP1->text(), form->E_IP2->text(), form->E_IP3->text(), form->E_IP4->text(),
                          form->E_Path->text()};
        if (form->E_Host->isVisibleTo(form.get()))
            shown << u"server "_s + form->E_Host->text();
        return shown;
    }
    // Local mode greys the address groups out; network mode gives them the edit colour.
    bool addressFollowsMode() const
    {
        const bool network = form->RadioGroup1->itemIndex() == 1;
        const QColor colour = form->palette().color(network ? QPalette::Base : QPalette::Button);
        for (QLineEdit* e : {form->E_IP1, form->E_IP2, form->E_IP3, form->E_IP4})
            if (e->isEnabled() != network || e->palette().color(QPalette::Base) != colour)
                return false;
        return form->E_Path->isEnabled();
    }
};
}

class TestFormNet : public QObject {
    Q_OBJECT
private slots:
    void eachShowingReadsTheFile_data()
    {
        QTest::addColumn<QByteArray>("net");
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("fields");
        const QStringList kept{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
        QTest::newRow("default") << defaultNet << 0
                                 << kept + QStringList{u"C:\\Program Files\\Parvolin\\dishbase.fdb"_s};
        QTest::newRow("local in lower case") << QByteArray("local\nlocalhost:/db/kitchen.fdb") << 0
                                             << kept + QStringList{u"/db/kitchen.fdb"_s};
        QTest::newRow("network") << QByteArray("Net-IP\r\n10.0.0.5:d:\\Base\\dishbase.fdb\r\n") << 1
                                 << QStringList{u"10"_s, u"0"_s, u"0"_s, u"5"_s, u"d:\\Base\\dishbase.fdb"_s};
        QTest::newRow("network, Linux server with a port")
            << QByteArray("Net-IP\r\n10.0.0.5/3051:/srv/pos/dishbase.fdb\r\n") << 1
            << QStringList{u"10"_s, u"0"_s, u"0"_s, u"5/3051"_s, u"/srv/pos/dishbase.fdb"_s};
        QTest::newRow("network, a server's name and port")
            << QByteArray("Net-IP\r\nkitchen-srv/3051:/srv/pos/dishbase.fdb\r\n") << 1
            << QStringList{u""_s, u""_s, u""_s, u""_s, u"/srv/pos/dishbase.fdb"_s, u"server kitchen-srv/3051"_s};
        QTest::newRow("network, IPv6 and port") << QByteArray("Net-IP\r\n[fe80::5]/3050:d:\\Base\\dishbase.fdb\r\n") << 1
            << QStringList{u""_s, u""_s, u""_s, u""_s, u"d:\\Base\\dishbase.fdb"_s, u"server [fe80::5]/3050"_s};
        QTest::newRow("network without colon") << QByteArray("NET-IP\r\n10.0.0.5\r\n") << 1
                                               << QStringList{u"10"_s, u"0"_s, u"0"_s, u"5"_s, u""_s};
        QTest::newRow("network without third dot") << QByteArray("net-ip\r\n10.0.0:d:\\x\r\n") << 1
                                                    << QStringList{u"10"_s, u"0"_s, u"0:d:\\x"_s, u""_s, u""_s};
        QTest::newRow("neither mode") << QByteArray("Remote\r\n10.0.0.5:d:\\x\r\n") << 0
                                      << kept + QStringList{u"typed"_s};
    }
    void eachShowingReadsTheFile()
    {
        QFETCH(QByteArray, net);
        QFETCH(int, item);
        Rig rig(net);
        rig.enter(0, {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"typed"_s});
        rig.form->show();
        QCOMPARE(rig.form->RadioGroup1->itemIndex(), item);
        QTEST(rig.fields(), "fields");
        QVERIFY(rig.addressFollowsMode());
        QVERIFY(rig.dialogs.messages.isEmpty());

        // Shown again, it reads the file again.
        rig.form->reject();
        putFile(rig.netPath(), defaultNet);
        rig.form->show();
        QCOMPARE(rig.form->RadioGroup1->itemIndex(), 0);
        QCOMPARE(rig.form->E_Path->text(), u"C:\\Program Files\\Parvolin\\dishbase.fdb"_s);
        QCOMPARE(fileBytes(rig.netPath()), defaultNet);
    }

    // Saving: a refusal names the first bad field and writes nothing; a valid save writes and ends the program.
    void save_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QByteArray>("net");
        const QString path = u"d:\\Base\\dishbase.fdb"_s;
        const auto refused = [&](const char* name, int item, const QStringList& fields, const QString& message,
                                 const char* focus) {
            QTest::newRow(name) << item << fields << message << QString::fromLatin1(focus) << defaultNet;
        };
        const auto saved = [](const char* name, int item, const QStringList& fields, const char* net) {
            QTest::newRow(name) << item << fields << Form_Net::RestartMessage << QString() << QByteArray(net);
        };
        const QStringList none{u""_s, u""_s, u""_s, u""_s};
        refused("local path of 14", 0, none + QStringList{u"/tmp/abcdefghi"_s}, Form_Net::NoPathMessage, "E_Path");
        refused("local default path missing here", 0, none + QStringList{Form_Net::DefaultPath},
                Form_Net::FileNotFoundMessage, "E_Path");
        refused("empty group", 1, {u"10"_s, u""_s, u"0"_s, u"5"_s, path}, Form_Net::AddressGroupMessage, "E_IP2");
        refused("four digits", 1, {u"10"_s, u"0"_s, u"1000"_s, u"5"_s, path}, Form_Net::AddressGroupMessage, "E_IP3");
        refused("letter", 1, {u"10"_s, u"0"_s, u"0"_s, u"5a"_s, path}, Form_Net::AddressGroupMessage, "E_IP4");
        refused("first of two bad groups", 1, {u"10"_s, u"x"_s, u"y"_s, u"5"_s, path}, Form_Net::AddressGroupMessage, "E_IP2");
        refused("length before digits", 1, {u"a"_s, u"0"_s, u"0"_s, u"1234"_s, path}, Form_Net::AddressGroupMessage, "E_IP4");
        refused("network share", 1, {u"10"_s, u"0"_s, u"0"_s, u"5"_s, u"\\\\srv\\share\\dishbase.fdb"_s},
                Form_Net::WrongPathMessage, "E_Path");
        refused("trailing blank", 1, {u"10"_s, u"0"_s, u"0"_s, u"5"_s, path + u' '}, Form_Net::WrongPathMessage, "E_Path");
        refused("other file name", 1, {u"10"_s, u"0"_s, u"0"_s, u"5"_s, u"d:\\Base\\kitchen.fdb"_s},
                Form_Net::WrongPathMessage, "E_Path");
        // %1 is an existing file of any name whose path has exactly 15 characters.
        saved("local, 15 characters", 0, none + QStringList{u"%1"_s}, "Local\r\nlocalhost:%1\r\n");
        saved("network, groups as typed", 1, {u"256"_s, u"007"_s, u"0"_s, u"5"_s, u"d:\\Base\\DishBase.FDB"_s},
              "Net-IP\r\n256.007.0.5:d:\\Base\\DishBase.FDB\r\n");
        saved("network, 15 characters", 1, {u"10"_s, u"0"_s, u"0"_s, u"5"_s, u"d:\\dishbase.fdb"_s},
              "Net-IP\r\n10.0.0.5:d:\\dishbase.fdb\r\n");
        // A Linux server: an absolute path, and a port after the last group.
        saved("network, Linux path and port", 1, {u"10"_s, u"0"_s, u"0"_s, u"5/3051"_s, u"/srv/pos/dishbase.fdb"_s},
              "Net-IP\r\n10.0.0.5/3051:/srv/pos/dishbase.fdb\r\n");
        refused("port out of range", 1, {u"10"_s, u"0"_s, u"0"_s, u"5/65536"_s, path}, Form_Net::AddressGroupMessage, "E_IP4");
        refused("slash without port", 1, {u"10"_s, u"0"_s, u"0"_s, u"5/"_s, path}, Form_Net::AddressGroupMessage, "E_IP4");
        saved("network, a server's name and port", 1, {u"kitchen-srv.local/3051"_s, u""_s, u""_s, u""_s, u"/srv/pos/dishbase.fdb"_s},
              "Net-IP\r\nkitchen-srv.local/3051:/srv/pos/dishbase.fdb\r\n");
        saved("network, IPv6 typed bare", 1, {u"fe80::5/3050"_s, u""_s, u""_s, u""_s, path},
              "Net-IP\r\n[fe80::5]/3050:d:\\Base\\dishbase.fdb\r\n");
        refused("name with a blank", 1, {u"kitchen srv"_s, u""_s, u""_s, u""_s, path}, Form_Net::ServerMessage, "E_Host");
        refused("name with port 0", 1, {u"srv/0"_s, u""_s, u""_s, u""_s, path}, Form_Net::ServerMessage, "E_Host");
        refused("IPv6 with a stray colon", 1, {u"fe80:::5"_s, u""_s, u""_s, u""_s, path}, Form_Net::ServerMessage, "E_Host");
        refused("relative Linux path", 1, {u"10"_s, u"0"_s, u"0"_s, u"5"_s, u"srv/pos/dishbase.fdb"_s},
                Form_Net::WrongPathMessage, "E_Path");
    }
    void save()
    {
        QFETCH(int, item);
        QFETCH(QStringList, fields);
        QFETCH(QString, focus);
        QFETCH(QByteArray, net);
        QTemporaryFile database(u"/tmp/XXXXXX.fdb"_s);
        QVERIFY(database.open() && database.fileName().size() == 15);
        fields[4].replace(u"%1"_s, database.fileName());
        Rig rig;
        rig.form->show();
        rig.enter(item, fields);
        rig.form->BtnOK->click();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QTEST(rig.dialogs.messages[0], "message");
        QCOMPARE(fileBytes(rig.netPath()), net.replace("%1", database.fileName().toLatin1()));
        if (!focus.isEmpty()) {
            QWidget* focused = rig.form->focusWidget();
            QCOMPARE(focused ? focused->objectName() : QString(), focus);
        }
        QCOMPARE(rig.form->isVisible(), !focus.isEmpty());
        QCOMPARE(rig.mainWindow.isVisible(), !focus.isEmpty());
    }

    void defaultsAndFileChoiceWriteNothing()
    {
        Rig rig("Net-IP\r\n10.0.0.5:d:\\Base\\dishbase.fdb\r\n");
        rig.form->show();
        rig.form->Btn_Default->click();
        QCOMPARE(rig.form->RadioGroup1->itemIndex(), 0);
        QCOMPARE(rig.fields(), (QStringList{u"10"_s, u"0"_s, u"0"_s, u"5"_s, Form_Net::DefaultPath}));
        QVERIFY(rig.addressFollowsMode());

        rig.dialogs.files = {u"/data/kitchen.fdb"_s};
        rig.form->SpeedButton1->click();
        QCOMPARE(rig.form->E_Path->text(), u"/data/kitchen.fdb"_s);
        QCOMPARE(rig.dialogs.filters, QStringList{u"База данных FireBird|*.fdb"_s});
        QCOMPARE(fileBytes(rig.netPath()), QByteArray("Net-IP\r\n10.0.0.5:d:\\Base\\dishbase.fdb\r\n"));
    }

    // A password saved from here ends the program, and this dialog with it.
    void savedPasswordClosesTheDialog()
    {
        Rig rig;
        Form_Psw psw(rig.state, rig.dialogs, rig.display, rig.util, &rig.mainWindow);
        rig.psw = &psw;
        rig.form->show();
        QTimer::singleShot(0, &psw, [&] { psw.BitBtn1->click(); });
        rig.form->BitBtn2->click();
        QCOMPARE(rig.dialogs.questions.size(), 1);
        QVERIFY(QFile::exists(rig.dir.filePath(u"psw.txt"_s)));
        QVERIFY(!rig.form->isVisible());
        QVERIFY(!rig.mainWindow.isVisible());
    }
};

QTEST_MAIN(TestFormNet)
#include "TestFormNet.moc"
