#pragma once
// Enter presses the button that has the keyboard focus, as on the platform the cooks know; it
// goes on to the window (and so to a dialog's default button) only when no button has the focus.
// Qt alone leaves Enter to the default button when the focused push button is not auto-default,
// and never lets Enter press a tool button or a button outside a dialog.
// At the board a button takes Enter only when the keyboard gave it the focus (Tab): a focus that
// moved there by itself (the focused grid hid, the window came back) must not let a cook's Enter
// with no order chosen press "Сеть".

#include <QObject>
#include <QPointer>

class QWidget;

class EnterKeyFilter : public QObject {
    Q_OBJECT
public:
    // Installs itself on the window, which owns it.
    explicit EnterKeyFilter(QWidget* window, bool tabbedOnly = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_tabbedOnly = false;
    QPointer<QWidget> m_tabbed; // the button Tab gave the focus to
};
