#pragma once
// Breaks off a request that the server leaves unanswered too long. The monitor's requests run on
// the GUI thread and the client library waits on its socket without a time limit, so a silent
// server (a pulled cable, a dropped Wi-Fi link) would freeze the board for as long as TCP takes
// to give up. This thread watches the one request in progress and, past its limit, aborts the
// attachment's connection (fb_cancel_abort closes the client's socket): the request fails at
// once with a network error, and the caller drops the attachment and attaches again.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace Firebird { class IAttachment; }

class RequestWatchdog {
public:
    explicit RequestWatchdog(std::chrono::milliseconds limit);
    ~RequestWatchdog();
    RequestWatchdog(const RequestWatchdog&) = delete;
    RequestWatchdog& operator=(const RequestWatchdog&) = delete;

    // A request on the attachment starts; it must be disarmed before the attachment goes away.
    void arm(Firebird::IAttachment* attachment);
    void disarm();
    // Connections broken off so far.
    int aborts() const;

private:
    void run();

    const std::chrono::milliseconds m_limit;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Firebird::IAttachment* m_armed = nullptr;
    std::chrono::steady_clock::time_point m_deadline;
    int m_aborts = 0;
    bool m_stop = false;
    std::thread m_thread;
};
