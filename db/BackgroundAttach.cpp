#include "BackgroundAttach.h"

#include "Database.h"
#include "DbError.h"
#include "FbApi.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

struct BackgroundAttach::Attempt {
    std::mutex mutex;
    std::condition_variable over;
    bool done = false;
    bool abandoned = false;            // the owner is gone: the thread cleans up after itself
    Firebird::IAttachment* result = nullptr; // made, not yet handed over
    QString error;
};

namespace {
void letGo(Firebird::IAttachment* att)
{
    if (!att)
        return;
    Fb::Status st;
    att->detach(&st);
    if ((&st)->getState() & Firebird::IStatus::STATE_ERRORS)
        att->release();
}
}

BackgroundAttach::BackgroundAttach(Database& db, QObject* parent) : QObject(parent), m_db(db) {}

BackgroundAttach::~BackgroundAttach()
{
    if (!m_thread.joinable())
        return;
    std::unique_lock lock(m_attempt->mutex);
    // A silent server keeps an attach waiting for the whole connect timeout: the program does
    // not wait that long to end.
    if (m_attempt->over.wait_for(lock, std::chrono::milliseconds(EndWaitMs), [&] { return m_attempt->done; })) {
        lock.unlock();
        m_thread.join();
        letGo(std::exchange(m_attempt->result, nullptr));
    } else {
        m_attempt->abandoned = true;
        lock.unlock();
        m_thread.detach();
    }
}

bool BackgroundAttach::start()
{
    if (running())
        return false;
    QByteArray dpb;
    try {
        dpb = m_db.dpb();
    } catch (const DbError& e) {
        m_error = e.text();
        return false;
    }
    m_attempt = std::make_shared<Attempt>();
    m_thread = std::thread([this, attempt = m_attempt, name = m_db.DatabaseName, dpb] {
        Firebird::IAttachment* att = nullptr;
        QString error;
        try {
            att = Database::attach(name, dpb);
        } catch (const DbError& e) {
            error = e.text();
        }
        std::lock_guard lock(attempt->mutex);
        if (attempt->abandoned) {
            letGo(att);
            return;
        }
        attempt->result = att;
        attempt->error = error;
        attempt->done = true;
        attempt->over.notify_all();
        // Under the lock: the owner, once it holds the lock, is not yet gone.
        QMetaObject::invokeMethod(this, &BackgroundAttach::deliver, Qt::QueuedConnection);
    });
    return true;
}

void BackgroundAttach::deliver()
{
    if (m_thread.joinable())
        m_thread.join();
    Firebird::IAttachment* att;
    {
        std::lock_guard lock(m_attempt->mutex);
        att = std::exchange(m_attempt->result, nullptr);
        m_error = m_attempt->error;
    }
    if (att && m_db.connected()) {
        // Connected meanwhile by other means: the spare goes.
        letGo(att);
    } else if (att) {
        m_db.adopt(att);
    }
    emit finished(att != nullptr);
}
