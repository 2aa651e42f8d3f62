#pragma once
// One piece of work at a time on a thread of its own, its result handed back on the thread that
// started it. The work only runs statements and returns what they gave; what that means is
// decided where it is handed back. The owner's end waits at most half a second for work under
// way: work that takes longer (an attach to a silent server waits for its whole timeout) is left
// to finish on its own, and its result goes to `leftOver` there.

#include "DbError.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

template <typename Result>
class ThreadedRun {
public:
    static constexpr int EndWaitMs = 500;

    // `leftOver` is given a result that nobody takes: made after its owner ended.
    explicit ThreadedRun(std::function<void(Result&)> leftOver = {}) : m_leftOver(std::move(leftOver)) {}
    ThreadedRun(const ThreadedRun&) = delete;
    ThreadedRun& operator=(const ThreadedRun&) = delete;

    ~ThreadedRun()
    {
        if (!m_thread.joinable())
            return;
        std::unique_lock lock(m_run->mutex);
        if (m_run->over.wait_for(lock, std::chrono::milliseconds(EndWaitMs), [&] { return m_run->done; })) {
            lock.unlock();
            m_thread.join();
            if (m_run->result && m_leftOver)
                m_leftOver(*m_run->result);
        } else {
            m_run->abandoned = true;
            lock.unlock();
            m_thread.detach();
        }
    }

    bool running() const { return m_thread.joinable(); }

    // Runs `work` (which throws when it fails) on the thread, then `handOver` on `context`'s
    // thread with its result, or with none and the error's text. False when work is under way.
    bool start(QObject* context, std::function<Result()> work,
               std::function<void(std::optional<Result>, const QString& error)> handOver)
    {
        if (running())
            return false;
        m_run = std::make_shared<Run>();
        m_run->leftOver = m_leftOver;
        m_handOver = std::move(handOver);
        m_thread = std::thread([run = m_run, work = std::move(work), context, this] {
            std::optional<Result> result;
            QString error;
            try {
                result = work();
            } catch (const DbError& e) {
                error = e.text();
            } catch (const std::exception& e) {
                error = QString::fromUtf8(e.what());
            }
            std::lock_guard lock(run->mutex);
            if (run->abandoned) {
                if (result && run->leftOver)
                    run->leftOver(*result);
                return;
            }
            run->result = std::move(result);
            run->error = error;
            run->done = true;
            run->over.notify_all();
            // Under the lock: the owner, once it holds the lock, is not yet gone.
            QMetaObject::invokeMethod(context, [this] { handBack(); }, Qt::QueuedConnection);
        });
        return true;
    }

private:
    struct Run {
        std::mutex mutex;
        std::condition_variable over;
        bool done = false;
        bool abandoned = false; // the owner is gone: the thread cleans up after itself
        std::optional<Result> result;
        QString error;
        std::function<void(Result&)> leftOver;
    };

    void handBack()
    {
        if (m_thread.joinable())
            m_thread.join();
        std::optional<Result> result;
        QString error;
        {
            std::lock_guard lock(m_run->mutex);
            result = std::exchange(m_run->result, std::nullopt);
            error = m_run->error;
        }
        if (m_handOver)
            m_handOver(std::move(result), error);
    }

    std::function<void(Result&)> m_leftOver;
    std::function<void(std::optional<Result>, const QString&)> m_handOver;
    std::thread m_thread;
    std::shared_ptr<Run> m_run; // shared with the thread, which may outlive this
};
