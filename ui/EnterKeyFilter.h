#pragma once
// Enter presses the button that has the keyboard focus, as on the platform the cooks know; it
// goes on to the window (and so to a dialog's default button) only when no button has the focus.
// Qt alone leaves Enter to the default button when the focused push button is not auto-default,
// and never lets Enter press a tool button or a button outside a dialog.

#include <QObject>

class QWidget;

class EnterKeyFilter : public QObject {
    Q_OBJECT
public:
    // Installs itself on the window, which owns it.
    explicit EnterKeyFilter(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};
