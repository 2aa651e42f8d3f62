#include "ServerTime.h"

#include "DbError.h"
#include "DbValue.h"
#include "ServerClock.h"
#include "StoredProc.h"

#include <QTimer>

using namespace Qt::StringLiterals;

ServerTime::ServerTime(StoredProc& proc, std::function<void(const QString&)> report)
    : m_proc(proc), m_report(std::move(report))
{
    m_passOver.setSingleShot(true);
    m_passOver.setInterval(0);
    QObject::connect(&m_passOver, &QTimer::timeout, &m_passOver, [this] {
        // A fit's reading waits for the paint; the paint's own pass ends it.
        if (!m_forPaint)
            m_fetched = false;
    });
}

void ServerTime::carry(ServerClock& clock)
{
    m_clock = &clock;
    clock.ask = [this]() -> std::optional<QDateTime> {
        const std::optional<double> days = read();
        return days ? std::optional(DbTime::toDateTime(*days)) : std::nullopt;
    };
}

std::optional<double> ServerTime::now()
{
    return m_clock ? m_clock->days() : read();
}

std::optional<double> ServerTime::read()
{
    if (m_painting && m_fetched && !(m_forPaint && m_fitRead.elapsed() > FitKeptMs))
        return m_time;
    if (m_painting) {
        m_fetched = true;
        m_forPaint = m_fitting > 0;
        if (m_forPaint)
            m_fitRead.start();
        m_passOver.start();
    }
    m_time.reset();
    try {
        m_proc.execProc();
        m_time = m_proc.param(u"MYTIME"_s).toDouble();
        m_failing = false;
    } catch (const DbError& e) {
        // A lost connection is the polling's to show and to mend, on the board, without a box.
        if (!e.connectionLost())
            reportOnce(e.text());
    } catch (const std::exception& e) {
        reportOnce(QString::fromUtf8(e.what()));
    }
    return m_time;
}

void ServerTime::reportOnce(const QString& text)
{
    if (m_failing)
        return;
    m_failing = true;
    QTimer::singleShot(0, [report = m_report, text] {
        if (report)
            report(text);
    });
}

ServerTime::PaintScope::PaintScope(ServerTime* time, Kind kind) : m_time(time), m_fit(kind == Kind::Fit)
{
    if (!m_time)
        return;
    ++m_time->m_painting;
    if (m_fit) {
        ++m_time->m_fitting;
    } else if (m_time->m_forPaint) {
        // The paint the fit waited for: it takes the fit's reading unless that has grown old,
        // and its pass ends it.
        m_time->m_forPaint = false;
        if (m_time->m_fitRead.elapsed() > FitKeptMs)
            m_time->m_fetched = false;
        m_time->m_passOver.start();
    }
}

ServerTime::PaintScope::~PaintScope()
{
    if (!m_time)
        return;
    --m_time->m_painting;
    if (m_fit)
        --m_time->m_fitting;
}
