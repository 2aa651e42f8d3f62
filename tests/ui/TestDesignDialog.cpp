// What every dialog of the program gets from DesignDialog: Enter presses the focused button,
// and the default button only when no button has the focus.

#include "DesignDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestDesignDialog : public QObject {
    Q_OBJECT
private slots:
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
};

void TestDesignDialog::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("pressed");
    QTest::newRow("default button") << u"ok"_s << u"ok"_s;
    QTest::newRow("push button") << u"cancel"_s << u"cancel"_s;
    QTest::newRow("push button made not auto-default") << u"plain"_s << u"plain"_s;
    QTest::newRow("tool button") << u"tool"_s << u"tool"_s;
    QTest::newRow("edit field") << u"edit"_s << u"ok"_s;
    QTest::newRow("check box") << u"check"_s << u"ok"_s;
}

void TestDesignDialog::enterPressesTheFocusedButton()
{
    QFETCH(QString, focus);
    QFETCH(QString, pressed);

    DesignDialog dialog(u"Form_Test"_s, u"Проба"_s, QSize(300, 200),
                        DesignDialog::TitleButtons::CloseOnly, nullptr);
    auto* ok = new QPushButton(u"OK"_s, &dialog);
    ok->setDefault(true);
    new QPushButton(u"Cancel"_s, &dialog);
    auto* plain = new QPushButton(u"Прочее"_s, &dialog);
    plain->setAutoDefault(false);
    new QToolButton(&dialog);
    new QLineEdit(&dialog);
    new QCheckBox(&dialog);
    const QStringList names{u"ok"_s, u"cancel"_s, u"plain"_s, u"tool"_s, u"edit"_s, u"check"_s};
    const QList<QWidget*> widgets = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(widgets.size(), names.size());
    QMap<QString, QWidget*> byName;
    QMap<QString, QSignalSpy*> clicks;
    for (int i = 0; i < names.size(); ++i) {
        QWidget* w = widgets[i];
        w->setGeometry(10, 10 + 25 * i, 100, 22);
        w->setFocusPolicy(Qt::StrongFocus);
        byName[names[i]] = w;
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !qobject_cast<QCheckBox*>(b))
            clicks[names[i]] = new QSignalSpy(b, &QAbstractButton::clicked);
    }

    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    byName[focus]->setFocus();
    QCOMPARE(dialog.focusWidget(), byName[focus]);
    QTest::keyClick(byName[focus], Qt::Key_Return);

    for (auto it = clicks.cbegin(); it != clicks.cend(); ++it)
        QVERIFY2(it.value()->size() == (it.key() == pressed ? 1 : 0), qPrintable(it.key()));
    qDeleteAll(clicks);
}

QTEST_MAIN(TestDesignDialog)
#include "TestDesignDialog.moc"
