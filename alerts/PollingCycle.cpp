#include "PollingCycle.h"

#include "Dialogs.h"
#include "Form_Base.h"
#include "PollingSql.h"
#include "SoundAlert.h"

#include <utility>

PollingCycle::PollingCycle(Form_Base& base, SoundAlert& alert, Board board, Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_base(base), m_alert(alert), m_board(std::move(board)), m_dialogs(dialogs)
{
    connect(&m_base.TimerHot, &QTimer::timeout, this, &PollingCycle::onTimer);
    // Queued: the player tells its failure from inside its own signals, no place for a box.
    connect(&m_alert, &SoundAlert::failed, this, &PollingCycle::alertFailed, Qt::QueuedConnection);
}

void PollingCycle::onTimer()
{
    // A beep or a message box may turn the event loop while a run is not finished; the timer
    // fires on, but runs never overlap and a failing database opens one box, not one a cycle.
    if (m_running)
        return;
    m_running = true;
    reportErrors(m_dialogs, nullptr, [this] { TimerHotTimer(); });
    if (!m_pendingProblem.isEmpty())
        m_dialogs.message(nullptr, std::exchange(m_pendingProblem, QString()));
    m_running = false;
}

void PollingCycle::TimerHotTimer()
{
    const ServedSections served = m_board.served();

    Query& hot = m_base.QHot;
    hot.close();
    hot.setSql(PollingSql::hotQueue(served));
    hot.prepare();
    hot.open();

    Query& probe = m_base.QBeep;
    probe.close();
    probe.setSql(PollingSql::newLines(served));
    probe.prepare();
    probe.open();

    if (probe.recordCount() > 0) {
        m_base.BeepCount = 0;
        announce();
        Query& mark = m_base.QW;
        mark.close();
        mark.setSql(PollingSql::markShown(served));
        if (m_base.TransactionBeep.inTransaction())
            m_base.TransactionBeep.rollback();
        m_base.TransactionBeep.start();
        mark.prepare();
        mark.execute();
        m_base.TransactionBeep.commit();
    }

    m_board.refresh();
    probe.close();
}

void PollingCycle::announce()
{
    // A silent alert must not keep the new lines from being marked and shown: its problem is
    // told once, after the run.
    try {
        m_alert.Timer_SignalTimer();
        m_alertProblem.clear();
    } catch (const std::exception& e) {
        alertFailed(QString::fromUtf8(e.what()));
    }
}

void PollingCycle::alertFailed(const QString& problem)
{
    if (problem == m_alertProblem)
        return;
    m_alertProblem = problem;
    if (m_running) {
        m_pendingProblem = problem;
        return;
    }
    // Told between runs: the polling waits for the box as it does for its own.
    m_running = true;
    m_dialogs.message(nullptr, problem);
    m_running = false;
}
