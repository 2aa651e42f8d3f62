#pragma once
// The date and time picker of a serving time: the date from one picker, the time of day from
// the other.

#include "DesignDialog.h"

#include <QDateTime>

struct AppState;
class DisplayMode;
class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;
class QTimeEdit;

class Form_DateTime : public DesignDialog {
    Q_OBJECT
public:
    Form_DateTime(AppState& state, DisplayMode& display, QWidget* parent);

    QFrame* Panel1;
    QLabel* Label1;
    QDateEdit* DateTimePicker1;
    QLabel* Label2;
    QTimeEdit* DateTimePicker2;
    QPushButton* BitBtn1; // OK, the default button
    QPushButton* BitBtn2; // Cancel, also the Escape key

    // Both pickers to one moment.
    void setMoment(const QDateTime& moment);
    // The date picker's day at the time picker's time of day.
    QDateTime moment() const;
};
