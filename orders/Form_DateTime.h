#pragma once
// The date and time picker of a serving time: the date from one picker, the time of day from
// the other, within a year of the moment it was preset to.

#include "DesignDialog.h"

#include <QDateTime>

struct AppState;
class Dialogs;
class DisplayMode;
class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;
class QTimeEdit;

class Form_DateTime : public DesignDialog {
    Q_OBJECT
public:
    Form_DateTime(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent);

    QFrame* Panel1;
    QLabel* Label1;
    QDateEdit* DateTimePicker1;
    QLabel* Label2;
    QTimeEdit* DateTimePicker2;
    QPushButton* BitBtn1; // OK, the default button
    QPushButton* BitBtn2; // Cancel, also the Escape key

    // Both pickers to one moment; the date may then be moved up to a year either way.
    void setMoment(const QDateTime& moment);
    // The date picker's day at the time picker's time of day.
    QDateTime moment() const;

    // OK: closes only with a date the range takes, else says which dates it takes.
    void BitBtn1Click();
    static const QString RangeMessage;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dialogs& m_dialogs;
    QDate m_earliest, m_latest;
    bool m_refused = false; // the date picker threw away what was typed into it
};
