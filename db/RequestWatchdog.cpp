#include "RequestWatchdog.h"

#include "FbApi.h"

RequestWatchdog::RequestWatchdog(std::chrono::milliseconds limit) : m_limit(limit)
{
    m_thread = std::thread([this] { run(); });
}

RequestWatchdog::~RequestWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void RequestWatchdog::arm(Firebird::IAttachment* attachment)
{
    {
        std::lock_guard lock(m_mutex);
        m_armed = attachment;
        m_deadline = std::chrono::steady_clock::now() + m_limit;
    }
    m_changed.notify_all();
}

void RequestWatchdog::disarm()
{
    // Waits while an abort is under way, so the attachment outlives it.
    std::lock_guard lock(m_mutex);
    m_armed = nullptr;
}

int RequestWatchdog::aborts() const
{
    std::lock_guard lock(m_mutex);
    return m_aborts;
}

void RequestWatchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_armed) {
            m_changed.wait(lock);
        } else if (std::chrono::steady_clock::now() < m_deadline) {
            m_changed.wait_until(lock, m_deadline);
        } else {
            // The abort only closes the client's socket; it does not wait for the server.
            Fb::Status st;
            m_armed->cancelOperation(&st, fb_cancel_abort);
            m_armed = nullptr;
            ++m_aborts;
        }
    }
}
