// The key map of "Keys.txt": the keypad's defaults, the file's lines over them, and a file that
// cannot be read.

#include "FileBytes.h"
#include "KeyMap.h"
#include "SettingsFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// "key=Action" for each key asked about, "key=-" for a key that does nothing.
QString actionsOf(const KeyMap& map, const QList<QKeyCombination>& keys)
{
    QStringList out;
    for (QKeyCombination key : keys) {
        const auto action = map.action(key);
        out << QKeySequence(key).toString(QKeySequence::PortableText) + u'=' + (action ? KeyMap::name(*action) : u"-"_s);
    }
    return out.join(u' ');
}
// The keypad's keys are the same keys, and so is a character typed with Shift ("+" and "*" on an
// ordinary keyboard, digits on some layouts); Ctrl makes another key.
const QList<QKeyCombination> Asked{Qt::KeypadModifier | Qt::Key_1, Qt::Key_Enter, Qt::Key_Return, Qt::Key_Plus,
                                   Qt::Key_Delete, Qt::Key_F1, Qt::CTRL | Qt::Key_F5, Qt::SHIFT | Qt::Key_1,
                                   Qt::SHIFT | Qt::Key_Plus, Qt::SHIFT | Qt::Key_Asterisk, Qt::CTRL | Qt::Key_Plus};
}

class TestKeyMap : public QObject {
    Q_OBJECT
private slots:
    void fileOverDefaults_data();
    void fileOverDefaults();
    void defaultsWrittenAndReadBack();
    void unreadableFileKeepsDefaults();
};

void TestKeyMap::fileOverDefaults_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("problems");
    const QString defaults = u"Num+1=Order1 Enter=DishReady Return=DishReady +=OrderReady Del=OpenOrder F1=- Ctrl+F5=- Shift+1=Order1 Shift++=OrderReady Shift+*=AllOrders Ctrl++=-"_s;
    QTest::newRow("no lines") << QStringList() << defaults << 0;
    QTest::newRow("blank and comment") << QStringList{u""_s, u"  "_s, u"# DishReady F1"_s} << defaults << 0;
    // The line's keys replace the action's own; the key taken from another action leaves it.
    QTest::newRow("action moved to another key")
        << QStringList{u"DishReady F1"_s} << u"Num+1=Order1 Enter=- Return=- +=OrderReady Del=OpenOrder F1=DishReady Ctrl+F5=- Shift+1=Order1 Shift++=OrderReady Shift+*=AllOrders Ctrl++=-"_s << 0;
    QTest::newRow("key taken from a default")
        << QStringList{u"orderready\t1  Ctrl+F5"_s}
        << u"Num+1=OrderReady Enter=DishReady Return=DishReady +=- Del=OpenOrder F1=- Ctrl+F5=OrderReady Shift+1=OrderReady Shift++=- Shift+*=AllOrders Ctrl++=-"_s << 0;
    QTest::newRow("action without keys") << QStringList{u"OpenOrder"_s}
                                         << u"Num+1=Order1 Enter=DishReady Return=DishReady +=OrderReady Del=- F1=- Ctrl+F5=- Shift+1=Order1 Shift++=OrderReady Shift+*=AllOrders Ctrl++=-"_s << 0;
    QTest::newRow("later line wins") << QStringList{u"TakeBack F1"_s, u"Close F1"_s}
                                     << u"Num+1=Order1 Enter=DishReady Return=DishReady +=OrderReady Del=OpenOrder F1=Close Ctrl+F5=- Shift+1=Order1 Shift++=OrderReady Shift+*=AllOrders Ctrl++=-"_s << 0;
    // A line that cannot be read changes nothing, and only that line is told.
    QTest::newRow("unknown action") << QStringList{u"Bump F1"_s, u"Close F1"_s}
                                    << u"Num+1=Order1 Enter=DishReady Return=DishReady +=OrderReady Del=OpenOrder F1=Close Ctrl+F5=- Shift+1=Order1 Shift++=OrderReady Shift+*=AllOrders Ctrl++=-"_s << 1;
    QTest::newRow("a key named with Shift keeps it")
        << QStringList{u"Close Shift++"_s}
        << u"Num+1=Order1 Enter=DishReady Return=DishReady +=OrderReady Del=OpenOrder F1=- Ctrl+F5=- Shift+1=Order1 Shift++=Close Shift+*=AllOrders Ctrl++=-"_s << 0;
    QTest::newRow("unknown key") << QStringList{u"DishReady F1 Banana"_s} << defaults << 1;
    QTest::newRow("two keys at once") << QStringList{u"DishReady F1,F2"_s} << defaults << 1;
}

void TestKeyMap::fileOverDefaults()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, actions);
    QFETCH(int, problems);
    QStringList told;
    const KeyMap map = KeyMap::parse(lines, &told);
    QCOMPARE(actionsOf(map, Asked), actions);
    QCOMPARE(told.size(), problems);
}

void TestKeyMap::defaultsWrittenAndReadBack()
{
    QTemporaryDir dir;
    const KeyMap loaded = KeyMap::load(dir.path());
    const QByteArray stored = fileBytes(dir.filePath("Keys.txt"));
    QVERIFY(stored.startsWith("Order1 1\r\nOrder2 2\r\n"));
    QVERIFY(stored.contains("\r\nDishReady Return Enter\r\n"));
    QVERIFY(stored.contains("\r\nOpenOrder . Del\r\n"));
    // The recall list has the keypad's "/"; the statistics have no key until the file gives one.
    QVERIFY(stored.endsWith("\r\nClose Esc\r\nRecall /\r\nStatistics\r\n"));
    QCOMPARE(loaded.action(Qt::KeypadModifier | Qt::Key_Slash), KeyAction::Recall);
    QCOMPARE(KeyMap::parse({u"Statistics F9"_s}).action(Qt::Key_F9), KeyAction::Statistics);
    QCOMPARE(SettingsFile::decode(stored).size(), KeyMap::ActionCount);
    // Every action keeps its keys through the file.
    QStringList told;
    const KeyMap reread = KeyMap::parse(SettingsFile::decode(stored), &told);
    QVERIFY(told.isEmpty());
    for (int a = 0; a < KeyMap::ActionCount; ++a) {
        QCOMPARE(loaded.keys(KeyAction(a)), KeyMap().keys(KeyAction(a)));
        QCOMPARE(reread.keys(KeyAction(a)), KeyMap().keys(KeyAction(a)));
    }
}

void TestKeyMap::unreadableFileKeepsDefaults()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"Keys.txt"_s)); // a folder of its name cannot be read
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Keys.txt keeps the default keys"_s));
    const KeyMap map = KeyMap::load(dir.path());
    QCOMPARE(map.action(Qt::Key_Enter), KeyAction::DishReady);
    QCOMPARE(map.action(Qt::Key_Minus), KeyAction::TakeBack);
}

QTEST_APPLESS_MAIN(TestKeyMap)
#include "TestKeyMap.moc"
