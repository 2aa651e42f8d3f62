#include "PollingCycle.h"

#include "Clock.h"
#include "DbError.h"
#include "DbErrorText.h"
#include "Dialogs.h"
#include "Form_Base.h"
#include "JournalLines.h"
#include "Log.h"
#include "PollingSql.h"
#include "SoundAlert.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
QString clockTime(const QDateTime& t)
{
    return t.toString(u"HH:mm:ss"_s);
}

QString keyList(QList<qint64> sorted)
{
    std::sort(sorted.begin(), sorted.end());
    QStringList text;
    for (qint64 key : sorted)
        text << QString::number(key);
    return text.join(u", ");
}
}

PollingCycle::PollingCycle(Form_Base& base, Journal& journal, SoundAlert& alert, Board board, Dialogs& dialogs,
                           const Clock& clock, QObject* parent)
    : QObject(parent), m_base(base), m_journal(journal), m_alert(alert), m_board(std::move(board)), m_dialogs(dialogs),
      m_clock(clock), m_attach(base.MyDB)
{
    if (!m_board.status)
        m_board.status = [](const QString&, const QString&) {};
    m_board.status = [this, show = std::move(m_board.status)](const QString& headline, const QString& detail) {
        m_problem = headline;
        show(headline, detail);
    };
    m_base.QHot.KeepRowsOnFailure = true;
    connect(&m_base.TimerHot, &QTimer::timeout, this, &PollingCycle::onTimer);
    // Queued: the player tells its failure from inside its own signals, no place for a box.
    connect(&m_alert, &SoundAlert::failed, this, &PollingCycle::alertFailed, Qt::QueuedConnection);
    connect(&m_attach, &BackgroundAttach::finished, this, &PollingCycle::attached);
    // Five years of history read cold take seconds: the board goes on meanwhile.
    m_probe.setSearchElsewhere(true);
    connect(&m_search, &EveryShiftSearch::finished, this, &PollingCycle::searched);
    // A healthy idle monitor and a hung one would otherwise look the same in the log.
    m_healthTimer.setInterval(LogLines::HealthMinutes * 60 * 1000);
    connect(&m_healthTimer, &QTimer::timeout, this, &PollingCycle::healthReport);
    m_healthTimer.start();
}

QString PollingCycle::healthReport()
{
    m_health.lostSince = m_base.MyDB.connected() ? QDateTime() : m_failingSince;
    const QString line = LogLines::health(m_health);
    m_health.polls = m_health.failures = m_health.announcements = 0;
    if (m_health.lostSince.isValid())
        qCWarning(lcMonitor).noquote() << line;
    else
        qCInfo(lcMonitor).noquote() << line;
    return line;
}

QString PollingCycle::lostHeadline(const QDateTime& since)
{
    return u"Нет связи с сервером базы данных с %1, повторное подключение…"_s.arg(clockTime(since));
}

QString PollingCycle::conflictHeadline(const QDateTime& since, int waiting)
{
    const int tens = waiting % 100, ones = waiting % 10;
    const QString lines = (ones == 1 && tens != 11)                           ? u"%1 строка занята"_s
                          : (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) ? u"%1 строки заняты"_s
                                                                                : u"%1 строк занято"_s;
    return u"Новые блюда не удаётся отметить с %1: %2 другой программой, повтор…"_s.arg(clockTime(since),
                                                                                          lines.arg(waiting));
}

QString PollingCycle::failureHeadline(const QDateTime& since)
{
    return u"Ошибка опроса базы данных с %1, повтор каждые 5 секунд…"_s.arg(clockTime(since));
}

void PollingCycle::onTimer()
{
    // A beep may turn the event loop while a run is not finished; the timer fires on, but runs
    // never overlap.
    if (m_running)
        return;
    const ServedSections served = m_board.served();
    if (served != m_loggedServed) {
        qCInfo(lcMonitor).noquote() << "served sections:" << LogLines::served(served);
        m_loggedServed = served;
    }
    if (!m_base.MyDB.connected()) {
        reconnect();
        emit polled(m_problem);
        return;
    }
    m_running = true;
    try {
        TimerHotTimer();
        ++m_health.polls;
        if (m_unmarked.isEmpty())
            succeeded();
        else
            held();
    } catch (const DbError& e) {
        ++m_health.failures;
        failed(e);
    } catch (const std::exception& e) {
        ++m_health.failures;
        failed(failureHeadline(m_failingSince.isValid() ? m_failingSince : m_clock.now()),
               DbErrorText::requestFailed(QString::fromUtf8(e.what())));
    }
    m_running = false;
    emit polled(m_problem);
    // The run is over, so the next runs go on while the box is open.
    if (!m_pendingProblem.isEmpty())
        m_dialogs.message(nullptr, std::exchange(m_pendingProblem, QString()));
}

void PollingCycle::failed(const DbError& e)
{
    const QDateTime now = m_clock.now();
    if (e.connectionLost()) {
        qCWarning(lcMonitor).noquote() << "connection lost:" << Log::oneLine(e.text());
        // The rows on the board stay as they were; the queries come back after the attach.
        m_base.MyDB.abandon();
        m_probe.forget(); // what changed meanwhile is not known
        m_conflictSince = {};
        if (!m_failingSince.isValid())
            m_failingSince = now;
        m_board.status(lostHeadline(m_failingSince), DbErrorText::connectionLost(e.text()));
        reconnect();
        return;
    }
    if (e.conflict()) {
        m_conflictText = e.text();
        held();
        return;
    }
    failed(failureHeadline(m_failingSince.isValid() ? m_failingSince : now), DbErrorText::requestFailed(e.text()));
}

void PollingCycle::held()
{
    // Another monitor or the point of sale holds lines: they stay new and the next runs mark
    // them. Only a conflict that lasts is worth the cooks' attention.
    const QDateTime now = m_clock.now();
    if (!m_conflictSince.isValid())
        m_conflictSince = now;
    if (m_conflictSince.secsTo(now) >= QuietConflictSeconds) {
        failed(conflictHeadline(m_conflictSince, std::max<int>(1, int(m_unmarked.size()))),
               DbErrorText::rowsHeld(m_conflictText));
    } else if (m_failingSince.isValid()) {
        const QDateTime since = m_conflictSince;
        succeeded(); // the server answers: what the board showed is over
        m_conflictSince = since;
    }
}

void PollingCycle::failed(const QString& headline, const QString& detail)
{
    if (!m_failingSince.isValid())
        m_failingSince = m_clock.now();
    m_board.status(headline, detail);
}

void PollingCycle::succeeded()
{
    m_conflictSince = {};
    if (m_failingSince.isValid()) {
        m_failingSince = {};
        m_board.status({}, {});
    }
}

void PollingCycle::awaitServer(const QString& error)
{
    if (!m_failingSince.isValid())
        m_failingSince = m_clock.now();
    m_board.status(lostHeadline(m_failingSince), error);
}

void PollingCycle::reconnect()
{
    if (m_attach.running())
        return;
    if (!m_failingSince.isValid())
        m_failingSince = m_clock.now();
    // A cook's action may have let the connection go: what changed meanwhile is not known.
    m_probe.forget();
    ++m_attempts;
    if (!m_attach.start())
        attached(false);
}

void PollingCycle::attached(bool ok)
{
    if (!ok) {
        ++m_health.failures;
        // One attempt every 5 s: the first few in the log, then one a minute.
        if (m_attempts <= 3 || m_attempts % 12 == 0)
            qCWarning(lcMonitor).noquote() << "reconnection attempt" << m_attempts << "failed:"
                                           << Log::oneLine(m_attach.error());
        m_board.status(lostHeadline(m_failingSince.isValid() ? m_failingSince : m_clock.now()),
                       DbErrorText::connectionLost(m_attach.error()));
        return;
    }
    qCInfo(lcMonitor) << "connection back after" << m_attempts << "attempt(s)";
    m_attempts = 0;
    m_base.readSwitchesIfPending();
    // Back at once rather than at the next tick.
    onTimer();
}

void PollingCycle::searched(const ServedSections& served,
                            const std::shared_ptr<const NewLineProbe::Everything>& found)
{
    if (found) {
        m_searchFailures = 0;
        qCInfo(lcMonitor).noquote() << "searched every shift for new lines:" << m_searchTime.elapsed() << "ms,"
                                    << found->lines.size() << "found";
        // Taken by the next run; one for other sections is dropped, and the next run asks anew.
        m_probe.arrived(served, *found);
        return;
    }
    // Tried again at the next run; a lasting failure is in the log once a minute.
    if (++m_searchFailures <= 3 || m_searchFailures % 12 == 0)
        qCWarning(lcMonitor).noquote() << "the search for new lines failed:" << Log::oneLine(m_search.error());
}

void PollingCycle::openHot(const ServedSections& served)
{
    Query& hot = m_base.QHot;
    if (m_hotText.served != served || m_hotText.rows != m_hotRows)
        m_hotText = {served, m_hotRows, PollingSql::hotQueue(served, m_hotRows)}; // built once, not each run
    hot.setSql(m_hotText.sql);
    hot.prepare();
    hot.open();
}

void PollingCycle::showMoreHot()
{
    // Only when every row asked for came: otherwise there is no more to show.
    if (m_running || !m_base.MyDB.connected() || m_base.QHot.recordCount() < m_hotRows)
        return;
    m_hotRows += HotRows;
    m_running = true;
    try {
        openHot(m_board.served());
    } catch (const DbError&) {
        // The next run shows what failed; the rows stay as they were.
    }
    m_running = false;
}

void PollingCycle::TimerHotTimer()
{
    const ServedSections served = m_board.served();
    // Until this run has read everything, the next one reads everything too.
    const std::optional<NewLineProbe::Signature> shown = std::exchange(m_shown, std::nullopt);

    Query& probe = m_base.QBeep;
    // Where the last run of the program left its looks, for this database.
    const QString boundsNote = u"new-line bounds "_s + QString::fromLatin1(m_base.MyDB.DatabaseName.toBase64());
    if (!std::exchange(m_boundsRead, true) && m_journal.isOpen())
        if (const auto bounds = NewLineProbe::fromText(m_journal.note(boundsNote)))
            m_probe.resume(*bounds);
    const QList<qint64> found = m_probe.find(probe, m_base.QBeepWide, served, m_clock.now());
    if (const auto wanted = m_probe.searchWanted(); wanted && !m_search.running()) {
        m_searchTime.start();
        if (!m_search.start(m_base.MyDB, *wanted))
            qCWarning(lcMonitor).noquote() << "the search for new lines could not start:" << Log::oneLine(m_search.error());
    }
    if (m_board.serverTime)
        m_board.serverTime(m_probe.serverNow());
    if (m_probe.lastLook() != NewLineProbe::Look::OpenShifts && m_journal.isOpen())
        if (const auto bounds = m_probe.bounds())
            m_journal.setNote(boundsNote, NewLineProbe::toText(*bounds));
    // Nothing the board shows has changed since it was last read: the run ends with its one
    // request, nothing decoded, nothing painted. The minute turn recolours from what is held.
    const NewLineProbe::Signature now = m_probe.signature();
    if (found.isEmpty() && m_unmarked.isEmpty() && m_probe.lastLook() == NewLineProbe::Look::OpenShifts && shown
        && *shown == now) {
        m_shown = now;
        ++m_skipped;
        probe.close();
        return;
    }

    // Opening again replaces the rows; a failure leaves the last hot queue on the board.
    openHot(served);
    // The lines left unmarked by earlier runs are tried again by key, also where the probe does
    // not look any more (their shift closed meanwhile), and are not announced again.
    QList<qint64> lines = found;
    QList<qint64> fresh;
    for (qint64 line : found)
        if (!m_unmarked.contains(line))
            fresh << line;
    for (qint64 line : std::as_const(m_unmarked))
        if (!found.contains(line))
            lines << line;
    if (!lines.isEmpty()) {
        m_unmarked = QSet<qint64>(lines.begin(), lines.end());
        if (!fresh.isEmpty()) {
            // Once, for the log and the journal.
            std::optional<QList<Journal::Line>> details;
            try {
                // Those of the open shifts came with the probe; others are read by key.
                details = JournalLines::readLines(m_base.QJournal, found, m_probe.details(),
                                                  NewLineProbe::DetailsColumn);
            } catch (const std::exception& e) {
                qCWarning(lcMonitor).noquote() << "the new lines could not be read:" << Log::oneLine(QString::fromUtf8(e.what()));
            }
            logAnnounced(found, details);
            emit announced();
            m_alert.BeepCount = 0;
            announce();
            if (details && m_journal.isOpen())
                JournalLines::announced(m_journal, *details, fresh);
        }
        m_unmarked = markShown(served, lines);
    }

    m_board.refresh();
    if (m_board.followed)
        m_board.followed();
    probe.close();
    // Read after the probe's look: whatever changed since comes with the next run's look.
    if (m_unmarked.isEmpty())
        m_shown = now;
}

// Marks shown exactly the lines given, so that one committed during the alert waits for its own
// announcement; gives back those another writer holds. Nothing here waits for a held row. A
// statement that fails changes nothing and the others stand, each committed by the server as it
// ends (autocommit). The transaction ends with the marking: a writing transaction left open
// between markings, even one committed after each statement, stays the database's oldest active
// one and holds back the point of sale's garbage collection for as long as no new line comes.
QSet<qint64> PollingCycle::markShown(const ServedSections& served, const QList<qint64>& keys)
{
    Transaction& transaction = m_base.TransactionBeep;
    if (!transaction.inTransaction())
        transaction.start();
    QSet<qint64> held;
    try {
        held = markIn(served, keys);
    } catch (...) {
        // Each statement committed as it ended stands; only the empty rest is rolled back.
        try {
            transaction.rollback();
        } catch (const DbError&) {
        }
        throw;
    }
    transaction.commit();
    return held;
}

QSet<qint64> PollingCycle::markIn(const ServedSections& served, const QList<qint64>& keys)
{
    Query& mark = m_base.QW;
    try {
        // The same text for every run: prepared once, only the keys change.
        for (qsizetype at = 0; at < keys.size(); at += PollingSql::MarkKeys) {
            mark.close();
            PollingSql::markShown(served, keys.mid(at, PollingSql::MarkKeys)).bindTo(mark);
            mark.execute();
        }
        return {};
    } catch (const DbError& e) {
        if (!e.conflict())
            throw;
        m_conflictText = e.text();
    }
    // One held line must not keep the others off every board: each on its own.
    mark.close();
    mark.setSql(PollingSql::markOneShown(served));
    mark.prepare();
    QSet<qint64> held;
    for (qint64 key : keys) {
        mark.setParam(u"K"_s, DbValue::integer(key));
        try {
            mark.execute();
        } catch (const DbError& e) {
            if (!e.conflict())
                throw;
            held.insert(key);
        }
    }
    return held;
}

void PollingCycle::logAnnounced(const QList<qint64>& keys, const std::optional<QList<Journal::Line>>& details)
{
    m_health.lastNewLine = m_clock.now();
    ++m_health.announcements;
    // Named for the kitchen's IT person; the keys alone when the names cannot be read.
    if (details)
        qCInfo(lcMonitor).noquote() << "new dishes:" << LogLines::announced(*details).join(u"; "_s) << "- lines"
                                    << keyList(keys);
    else
        qCInfo(lcMonitor).noquote() << "new lines:" << keyList(keys);
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
    // Told between runs; the next runs go on beneath the box, and the same problem is not told
    // again.
    m_dialogs.message(nullptr, problem);
}
