// Qt's own boxes as the cook sees them: in Russian, the sound file filter shown once, and a
// message box in the middle of the screen even when its window is not on the screen yet.

#include "QtDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
// Runs check on the modal box that the next call opens, then closes it.
template <typename Check>
void whenOpen(Check check)
{
    QTimer::singleShot(0, [check] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) {
            QFAIL("no box opened");
            return;
        }
        check(box);
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->reject();
    });
}
}

class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void boxCentredWhenItsWindowIsNotShown_data();
    void boxCentredWhenItsWindowIsNotShown();
    void fileDialogInRussianWithItsFilterOnce();
    void fileFilterForQt();
};

void TestQtDialogs::initTestCase()
{
    QVERIFY(QtDialogs::installTranslations(QLocale(QLocale::Russian, QLocale::Russia)));
}

void TestQtDialogs::boxCentredWhenItsWindowIsNotShown_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<bool>("parented");
    QTest::newRow("message, window not shown") << false << true;
    QTest::newRow("question, window not shown") << true << true;
    QTest::newRow("message without a window") << false << false;
}

void TestQtDialogs::boxCentredWhenItsWindowIsNotShown()
{
    QFETCH(bool, question);
    QFETCH(bool, parented);
    // The board before its first showing: its place and size are not yet the screen's.
    QWidget board;
    board.setGeometry(0, 0, 300, 120);
    QFont scaled = board.font();
    scaled.setPixelSize(24); // a board scaled to a large screen
    board.setFont(scaled);
    QRect placed;
    int textSize = 0, lowestButton = 0;
    QMessageBox::ButtonRole focused = QMessageBox::InvalidRole; // Enter presses it
    whenOpen([&](QWidget* box) {
        placed = box->frameGeometry();
        textSize = box->findChild<QLabel*>(u"qt_msgbox_label"_s)->fontInfo().pixelSize();
        lowestButton = 1000;
        for (QAbstractButton* button : qobject_cast<QMessageBox*>(box)->buttons())
            lowestButton = qMin(lowestButton, button->height());
        focused = qobject_cast<QMessageBox*>(box)->buttonRole(qobject_cast<QAbstractButton*>(box->focusWidget()));
    });
    QtDialogs dialogs;
    const QString text = u"Не удалось подключиться к базе данных. Проверьте настройки подключения."_s;
    if (question)
        dialogs.question(parented ? &board : nullptr, u"Вопрос"_s, text, Dialogs::Focus::Cancel);
    else
        dialogs.message(parented ? &board : nullptr, text);
    if (question)
        QCOMPARE(focused, QMessageBox::RejectRole);
    // The box grows with the board it belongs to, and its buttons take a finger.
    if (parented)
        QCOMPARE(textSize, 24);
    QVERIFY2(lowestButton >= (parented ? 2 * QFontMetrics(scaled).height() : 40), qPrintable(QString::number(lowestButton)));
    QVERIFY(placed.isValid());
    const QPoint off = placed.center() - QApplication::primaryScreen()->geometry().center();
    QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2,
             qPrintable(u"box at %1,%2 %3x%4"_s.arg(placed.x()).arg(placed.y()).arg(placed.width()).arg(placed.height())));
}

void TestQtDialogs::fileDialogInRussianWithItsFilterOnce()
{
    QStringList filters, english;
    whenOpen([&](QWidget* box) {
        auto* dialog = qobject_cast<QFileDialog*>(box);
        QVERIFY(dialog);
        auto* types = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
        QVERIFY(types);
        for (int i = 0; i < types->count(); ++i)
            filters << types->itemText(i);
        const QRegularExpression latin(u"[A-Za-z]"_s);
        QStringList texts{dialog->windowTitle()};
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (label->isVisible())
                texts << label->text();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->isVisible())
                texts << button->text();
        for (const QString& t : texts)
            if (t.contains(latin))
                english << t;
    });
    QtDialogs dialogs;
    QCOMPARE(dialogs.openFileName(nullptr, u"Звуковые файлы (wav, mid, mp3)|*.wav; *.mid; *.mp3"_s), QString());
    QCOMPARE(filters, QStringList{u"Звуковые файлы (wav, mid, mp3)"_s});
    QVERIFY2(english.isEmpty(), qPrintable(english.join(u", "_s)));
}

void TestQtDialogs::fileFilterForQt()
{
    QCOMPARE(QtDialogs::toQtFilter(u"Звуковые файлы (wav, mid, mp3)|*.wav; *.mid; *.mp3"_s),
             u"Звуковые файлы (wav, mid, mp3) (*.wav *.mid *.mp3)"_s);
    QCOMPARE(QtDialogs::toQtFilter(u"A|*.a|B|*.b"_s), u"A (*.a);;B (*.b)"_s);
}

QTEST_MAIN(TestQtDialogs)
#include "TestQtDialogs.moc"
