#pragma once
// The monitor's main loop, run by the data module's polling timer every 5 seconds: re-read the
// hot queue, find the lines newly arrived in the served sections, announce them, mark them
// shown, and bring the board up to date.

#include "BoardSql.h"

#include <QObject>
#include <QString>
#include <functional>

class Dialogs;
class Form_Base;
class SoundAlert;

class PollingCycle : public QObject {
    Q_OBJECT
public:
    struct Board {
        std::function<ServedSections()> served;
        std::function<void()> refresh; // RefreshOrderList, then FillPage with the current page
    };

    PollingCycle(Form_Base& base, SoundAlert& alert, Board board, Dialogs& dialogs, QObject* parent = nullptr);

    // One run; database errors are thrown and end it at the failing step.
    void TimerHotTimer();

    // The timer's handler: runs a cycle unless one is still running or its error is still on
    // the screen, and reports a failure in one message box.
    void onTimer();

private:
    void announce();
    void alertFailed(const QString& problem);

    Form_Base& m_base;
    SoundAlert& m_alert;
    Board m_board;
    Dialogs& m_dialogs;
    bool m_running = false;
    QString m_alertProblem;   // told once; forgotten when the alert sounds again
    QString m_pendingProblem; // to tell when the run is over
};
