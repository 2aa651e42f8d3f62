// The limit keypad against the real server: what the keys do to the entry, the minimum check
// with its message in the locale's form, the write on the limit window's current item, and the
// entries that are no number.

#include "LimitEntry.h"
#include "LimitRig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace LimitData;

namespace {
const QString BelowMinimum = u"В основной программе реализации настроен минимальный размер лимита равный  >%1<   Измените лимит или откажитесь от его назначения."_s;
const QString NoNumber = u"«%1» — не число"_s;
}

class TestFormKlava : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void keys_data();
    void keys();
    void confirm_data();
    void confirm();
    void reopeningStartsEmpty();
    void closingWritesNothing();
    void limitThroughTheWindow();

private:
    // The rig with the limit window showing the soups and the green borsch (limit 4) current.
    std::unique_ptr<LimitRig> soups();
    // Clicks the keys of a text: digits, ',' for the separator key and '<' for delete.
    void press(Form_Klava& klava, const QString& keys);
    std::optional<double> greenBorschLimit()
    {
        return m_db->value(u"SELECT LIMIT FROM MENU_STR WHERE KOD = 102"_s).toDouble();
    }

    std::unique_ptr<TestDatabase> m_db;
};

void TestFormKlava::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY2(m_db->error().isEmpty(), qPrintable(m_db->error()));
    create(*m_db);
}

void TestFormKlava::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    resetLimits(*m_db);
}

void TestFormKlava::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

std::unique_ptr<LimitRig> TestFormKlava::soups()
{
    auto rig = std::make_unique<LimitRig>(*m_db);
    if (!rig->show())
        return nullptr;
    QTest::keyClick(rig->limit->GridRazdel, Qt::Key_Down);
    if (!rig->reloaded())
        return nullptr;
    rig->selectItem(GreenBorsch);
    return rig;
}

void TestFormKlava::press(Form_Klava& klava, const QString& keys)
{
    for (QChar c : keys) {
        QPushButton* key = c == u',' ? klava.BitBtn11 : c == u'<' ? klava.BitBtn13
                                                                  : klava.digitKeys()[size_t(c.digitValue())];
        QTest::mouseClick(key, Qt::LeftButton);
    }
}

void TestFormKlava::keys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("comma");
    QTest::newRow("every digit by its own tag") << u"1234567890"_s << u"1234567890"_s << false;
    QTest::newRow("leading zeros kept") << u"007"_s << u"007"_s << false;
    QTest::newRow("separator twice gives one") << u"2,,5"_s << u"2,5"_s << true;
    QTest::newRow("deleting the separator allows it again") << u"2,<,5"_s << u"2,5"_s << true;
    QTest::newRow("deleting a digit after it does not") << u"2,5<,"_s << u"2,"_s << true;
    QTest::newRow("delete on an empty entry") << u"<"_s << QString() << false;
    QTest::newRow("delete all") << u"12<<<"_s << QString() << false;
    QTest::newRow("separator alone") << u","_s << u","_s << true;
}

void TestFormKlava::keys()
{
    QFETCH(QString, keys);
    QFETCH(QString, entry);
    QFETCH(bool, comma);
    auto rig = soups();
    QVERIFY(rig);
    Form_Klava& klava = *rig->klava;
    klava.show();
    press(klava, keys);
    QCOMPARE(klava.Edit1->text(), entry);
    QCOMPARE(klava.CommaEntered, comma);
    if (!keys.endsWith(u'<'))
        QCOMPARE(klava.focusWidget(), klava.BitBtn12); // so that Enter confirms
}

void TestFormKlava::confirm_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("minimumOn");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<std::optional<double>>("written");
    QTest::addColumn<QString>("message");
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const std::optional<double> none;
    QTest::newRow("below the minimum") << ru << true << 2.5 << u"2"_s << none << BelowMinimum.arg(u"2,5"_s);
    QTest::newRow("at the minimum") << ru << true << 2.5 << u"2,5"_s << std::optional(2.5) << QString();
    QTest::newRow("above the minimum") << ru << true << 2.5 << u"12"_s << std::optional(12.0) << QString();
    QTest::newRow("whole minimum") << ru << true << 3.0 << u"0,5"_s << none << BelowMinimum.arg(u"3"_s);
    QTest::newRow("minimum of 15 digits") << ru << true << 1234.56789012345 << u"1"_s << none
                                          << BelowMinimum.arg(u"1234,56789012345"_s);
    QTest::newRow("no minimum, 0 written") << ru << false << 2.5 << u"0"_s << std::optional(0.0) << QString();
    QTest::newRow("trailing separator") << ru << false << 0.0 << u"7,"_s << std::optional(7.0) << QString();
    QTest::newRow("point locale, below") << en << true << 2.5 << u"2"_s << none << BelowMinimum.arg(u"2.5"_s);
    QTest::newRow("point locale, the key adds a point") << en << true << 2.5 << u"2,5"_s << std::optional(2.5) << QString();
    // No number, nothing written: neither null nor 0.
    QTest::newRow("empty") << ru << false << 0.0 << QString() << none << NoNumber.arg(QString());
    QTest::newRow("empty, minimum on") << ru << true << 2.5 << QString() << none << NoNumber.arg(QString());
    QTest::newRow("separator alone") << ru << false << 0.0 << u","_s << none << NoNumber.arg(u","_s);
}

void TestFormKlava::confirm()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, minimumOn);
    QFETCH(double, minimum);
    QFETCH(QString, keys);
    QFETCH(std::optional<double>, written);
    QFETCH(QString, message);
    QLocale::setDefault(locale);
    auto rig = soups();
    QVERIFY(rig);
    rig->state.MinLimitOn = minimumOn;
    rig->state.MinLimit = minimum;
    Form_Klava& klava = *rig->klava;
    klava.show();
    press(klava, keys);
    QTest::mouseClick(klava.BitBtn12, Qt::LeftButton);

    QVERIFY(!klava.isVisible());
    QCOMPARE(klava.result(), int(QDialog::Accepted));
    QCOMPARE(rig->dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(greenBorschLimit(), written.value_or(4.0));
    // The window shows the limit on the same item, which is still current.
    QCOMPARE(rig->menu.currentMenuItem(), GreenBorsch);
    QCOMPARE(rig->limit->GridStr->currentIndex().row(), rig->menu.QMenuStr.recNo());
    QCOMPARE(rig->currentCell(3), locale.toString(written.value_or(4.0), 'g', 15));
    QCOMPARE(limitedItems(*m_db), 2);
}

void TestFormKlava::reopeningStartsEmpty()
{
    auto rig = soups();
    QVERIFY(rig);
    rig->state.MinLimitOn = true;
    rig->state.MinLimit = 3;
    Form_Klava& klava = *rig->klava;
    klava.show();
    press(klava, u"1,5"_s);
    QTest::mouseClick(klava.BitBtn12, Qt::LeftButton);
    QCOMPARE(rig->dialogs.messages.size(), 1);

    klava.show();
    QCOMPARE(klava.Edit1->text(), QString());
    QVERIFY(!klava.CommaEntered);
    press(klava, u"3,5"_s);
    QCOMPARE(klava.Edit1->text(), u"3,5"_s);
    // Enter on the focused confirm key.
    QTest::keyClick(klava.focusWidget(), Qt::Key_Return);
    QVERIFY(!klava.isVisible());
    QCOMPARE(greenBorschLimit(), std::optional(3.5));
}

void TestFormKlava::closingWritesNothing()
{
    auto rig = soups();
    QVERIFY(rig);
    Form_Klava& klava = *rig->klava;
    klava.show();
    press(klava, u"9"_s);
    klava.close();
    QCOMPARE(klava.result(), int(QDialog::Rejected));
    QCOMPARE(greenBorschLimit(), std::optional(4.0));

    // Nor does a confirm while the limit window is not on the screen.
    rig->limit->hide();
    klava.show();
    press(klava, u"9"_s);
    QTest::mouseClick(klava.BitBtn12, Qt::LeftButton);
    QCOMPARE(greenBorschLimit(), std::optional(4.0));
    QVERIFY(rig->dialogs.messages.isEmpty());
}

void TestFormKlava::limitThroughTheWindow()
{
    auto rig = soups();
    QVERIFY(rig);
    Form_Klava& klava = *rig->klava;
    bool shown = false;
    QTimer::singleShot(0, &klava, [&] {
        shown = klava.isVisible();
        press(klava, u"2,5"_s);
        QTest::mouseClick(klava.BitBtn12, Qt::LeftButton);
    });
    QTest::mouseClick(rig->limit->Btn_AddLimit, Qt::LeftButton);
    QVERIFY(shown);
    QCOMPARE(greenBorschLimit(), std::optional(2.5));
    QCOMPARE(rig->currentCell(0), u"БОРЩ ЗЕЛЁНЫЙ"_s);
    QCOMPARE(rig->currentCell(3), u"2,5"_s);
}

QTEST_MAIN(TestFormKlava)
#include "TestFormKlava.moc"
