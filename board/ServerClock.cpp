#include "ServerClock.h"

#include "Clock.h"
#include "DbValue.h"

void ServerClock::note(const QDateTime& server)
{
    if (server.isValid())
        m_offset = m_clock.now().msecsTo(server);
}

QDateTime ServerClock::now()
{
    if (!m_offset && ask)
        if (const std::optional<QDateTime> server = ask())
            note(*server);
    return m_offset ? m_clock.now().addMSecs(*m_offset) : QDateTime();
}

std::optional<double> ServerClock::days()
{
    const QDateTime time = now();
    return time.isValid() ? std::optional(DbTime::fromDateTime(time)) : std::nullopt;
}

qint64 ServerClock::minutesSince(const QDateTime& from, const QDateTime& now)
{
    if (!from.isValid() || !now.isValid())
        return 0;
    return qMax<qint64>(0, from.msecsTo(now) / 60000);
}
