#pragma once
// Modal message, question and file-open boxes. Windows ask through this seam so that tests can
// answer the boxes without a person at the screen.

#include <QString>

class QWidget;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A plain message box with the program's title and an OK button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // Which button of a question box has the focus, so that Enter presses it.
    enum class Focus { Ok, Cancel };
    // A question box with OK and Cancel; true when OK was pressed.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text,
                          Focus focus = Focus::Ok) = 0;
    // A file-open box; the filter is "Title|*.a; *.b" pairs joined by '|'. Empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
};

// Runs one handler body and shows any error it throws in a message box: the single place where
// a handler's failure ends and is reported. Returns false when the body failed.
template <typename Body>
bool reportErrors(Dialogs& dialogs, QWidget* parent, Body&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        dialogs.message(parent, QString::fromUtf8(e.what()));
    }
    return false;
}
