#pragma once
// The monitor's main loop, run by the data module's polling timer every 5 seconds: re-read the
// hot queue, find the lines newly arrived in the served sections, announce them, mark them
// shown, and bring the board up to date. It keeps working through a lost or silent server:
// its failures are shown on the board, never in a box that would stop the next runs; a lost
// attachment is made again in the background; a line held by another writer is tried again at
// the next runs while the others are marked, and the cycle never waits for it.

#include "BackgroundAttach.h"
#include "BoardSql.h"
#include "EveryShiftSearch.h"
#include "LogLines.h"
#include "NewLineProbe.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class Clock;
class DbError;
class Dialogs;
class Form_Base;
class Journal;
class SoundAlert;

class PollingCycle : public QObject {
    Q_OBJECT
public:
    struct Board {
        std::function<ServedSections()> served;
        std::function<void()> refresh; // RefreshOrderList, then FillPage with the current page
        // Shows a failing polling on the board; an empty headline takes it away.
        std::function<void(const QString& headline, const QString& detail)> status;
        // Reads what else follows the polls (the dishes in work); errors are thrown as the run's.
        std::function<void()> followed;
        // The server's time as each run's first request read it.
        std::function<void(const QDateTime&)> serverTime;
    };

    PollingCycle(Form_Base& base, Journal& journal, SoundAlert& alert, Board board, Dialogs& dialogs, const Clock& clock,
                 QObject* parent = nullptr);

    // One run; database errors are thrown and end it at the failing step.
    void TimerHotTimer();

    // The timer's handler: runs a cycle unless one is still running; without an attachment it
    // starts attaching again instead. Failures go to the board.
    void onTimer();

    // Conflicts with another writer stay quiet this long before the board shows them.
    static constexpr int QuietConflictSeconds = 60;
    static QString lostHeadline(const QDateTime& since);
    static QString conflictHeadline(const QDateTime& since, int waiting);
    static QString failureHeadline(const QDateTime& since);

    bool reconnecting() const { return m_attach.running(); }

    // The hot queue fetches its first rows: the grid's nine and a screenful more to scroll to.
    static constexpr int HotRows = 20;
    int hotRows() const { return m_hotRows; }
    // The cook scrolled to the end of the hot queue: fetch a screenful more now and from now on.
    void showMoreHot();
    // Runs that found nothing changed since the board was last read, and ended there.
    int skippedRuns() const { return m_skipped; }
    // The next run reads everything, whether anything changed or not.
    void readAllNext() { m_shown.reset(); }
    // How far the last run looked for new lines.
    NewLineProbe::Look lastLook() const { return m_probe.lastLook(); }
    // The search through every shift runs on its thread; the run after it ends takes its lines.
    bool searching() const { return m_search.running(); }

signals:
    // New dishes were found and are being announced.
    void announced();
    // A run (or an attach while the server is lost) is over, on the GUI thread: what the board's
    // strip shows now, empty when all is well. The service's watchdog and status listen.
    void polled(const QString& problem);

public:
    // The start found no server: the board shows the lost connection from now on, and the
    // timer's runs attach as after a loss.
    void awaitServer(const QString& error);

    // The log's line every few minutes: that the polling runs, what failed and was announced,
    // when a dish last came, the connection. Logged by a timer; the counts start again after each.
    QString healthReport();

private:
    void openHot(const ServedSections& served);
    void announce();
    QSet<qint64> markShown(const ServedSections& served, const QList<qint64>& keys);
    QSet<qint64> markIn(const ServedSections& served, const QList<qint64>& keys);
    void held();
    void alertFailed(const QString& problem);
    void failed(const DbError& e);
    void failed(const QString& headline, const QString& detail);
    void succeeded();
    void reconnect();
    void attached(bool ok);
    void searched(const ServedSections& served, const std::shared_ptr<const NewLineProbe::Everything>& found);
    void logAnnounced(const QList<qint64>& keys, const std::optional<QList<Journal::Line>>& details);

    Form_Base& m_base;
    Journal& m_journal; // where the announced lines are recorded
    SoundAlert& m_alert;
    Board m_board;
    Dialogs& m_dialogs;
    const Clock& m_clock;
    BackgroundAttach m_attach;
    int m_attempts = 0;       // attaches tried since the connection was lost
    bool m_running = false;
    QString m_alertProblem;   // told once; forgotten when the alert sounds again
    QString m_pendingProblem; // to tell when the run is over
    NewLineProbe m_probe;
    EveryShiftSearch m_search;
    int m_searchFailures = 0; // in a row
    QElapsedTimer m_searchTime;
    int m_hotRows = HotRows;
    // Lines announced and not yet marked shown (held by another writer, or the run failed):
    // tried again by key at the next runs, and not announced again.
    QSet<qint64> m_unmarked;
    QDateTime m_failingSince;  // of the failure on the board, or of a conflict not yet shown
    QDateTime m_conflictSince;
    QString m_conflictText;    // the server's words on the last held line
    LogLines::Health m_health;
    QTimer m_healthTimer;
    QString m_problem; // what the strip shows
    std::optional<ServedSections> m_loggedServed;
    // What the board's last full read saw; none when the next run must read everything.
    std::optional<NewLineProbe::Signature> m_shown;
    int m_skipped = 0;
    bool m_boundsRead = false; // the journal's note of the new-line bounds, at the first run
    struct {
        ServedSections served{};
        int rows = 0;
        QStringList sql;
    } m_hotText;
};
