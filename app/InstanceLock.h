#pragma once
// One monitor per settings folder: two would split the announcements of new dishes between them.
// The operating system's own lock on "kitchen-monitor.lock" decides, never a process number read
// back, so a monitor that dies in any way (a crash, kill -9, a power cut) frees it with its last
// breath, and a file left behind, whatever it holds (nothing, garbage, another user's process),
// names no live monitor and is taken over. The file holds the holder's process number for the
// log and for --status only.

#include <QString>
#include <optional>

class InstanceLock {
public:
    static constexpr const char* FileName = "kitchen-monitor.lock";

    explicit InstanceLock(const QString& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Outcome {
        Held,    // this process is the folder's monitor
        Running, // another live monitor holds it: owner() is its process
        Failed,  // neither held nor held by anyone known: error() says why
    };
    Outcome take();
    qint64 owner() const { return m_owner; }
    QString error() const { return m_error; }
    QString path() const { return m_path; }

    // The start's rule, told in the log: nothing when this start goes on; otherwise its exit
    // status. A second start beside a running monitor is no failure (0: a service is not to start
    // it again); a lock that cannot be taken is one (non-zero: the service tries again).
    std::optional<int> endOfStart(const QString& folder);

    // For a look from outside: the process of the monitor that holds the folder's lock, or
    // nothing when none does.
    static std::optional<qint64> holder(const QString& folder);

private:
    QString m_path;
    int m_fd = -1;
    qint64 m_owner = 0;
    QString m_error;
};
