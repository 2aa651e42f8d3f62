#include "StallMeter.h"

#include "Log.h"

#include <algorithm>

bool StallMeter::wanted()
{
    return qEnvironmentVariableIsSet("KITCHEN_STALL_METER");
}

StallMeter::StallMeter(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &StallMeter::tick);
    m_since.start();
    m_timer.start();
}

void StallMeter::tick()
{
    const qint64 now = m_since.elapsed();
    m_longest = std::max(m_longest, now - m_last - TickMs);
    m_last = now;
}

void StallMeter::polled()
{
    qCInfo(lcMonitor).noquote() << "gui held:" << std::max<qint64>(0, m_longest) << "ms";
    m_longest = 0;
}
