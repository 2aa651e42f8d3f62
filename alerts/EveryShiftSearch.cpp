#include "EveryShiftSearch.h"

#include "Database.h"
#include "DbError.h"
#include "Query.h"
#include "Transaction.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

struct EveryShiftSearch::Search {
    std::mutex mutex;
    std::condition_variable over;
    bool done = false;
    bool abandoned = false; // the owner is gone: the thread ends on its own
    ServedSections served{};
    std::optional<NewLineProbe::Everything> found;
    QString error;
};

namespace {
NewLineProbe::Everything search(const QByteArray& name, const QList<QByteArray>& params, int connectTimeout,
                                std::chrono::milliseconds requestTimeout, const ServedSections& served)
{
    Database db;
    db.DatabaseName = name;
    db.Params = params;
    db.ConnectTimeout = connectTimeout;
    db.RequestTimeout = requestTimeout;
    db.open();
    // One snapshot: the ranges' tops, the new lines and the open shifts agree.
    Transaction snapshot(db, {u"concurrency"_s, u"nowait"_s, u"read"_s});
    Query wide(db, snapshot);
    NewLineProbe::Everything found = NewLineProbe::searchEveryShift(wide, served);
    snapshot.commit();
    db.close();
    return found;
}
}

EveryShiftSearch::EveryShiftSearch(QObject* parent) : QObject(parent) {}

EveryShiftSearch::~EveryShiftSearch()
{
    if (!m_thread.joinable())
        return;
    std::unique_lock lock(m_search->mutex);
    if (m_search->over.wait_for(lock, std::chrono::milliseconds(EndWaitMs), [&] { return m_search->done; })) {
        lock.unlock();
        m_thread.join();
    } else {
        m_search->abandoned = true;
        lock.unlock();
        m_thread.detach();
    }
}

bool EveryShiftSearch::start(const Database& db, const ServedSections& served)
{
    if (running())
        return false;
    try {
        db.dpb(); // parameters that cannot be built fail here, not on the thread
    } catch (const DbError& e) {
        m_error = e.text();
        return false;
    }
    m_search = std::make_shared<Search>();
    m_search->served = served;
    m_thread = std::thread([this, s = m_search, name = db.DatabaseName, params = db.Params,
                            connectTimeout = db.ConnectTimeout, requestTimeout = db.RequestTimeout, served] {
        std::optional<NewLineProbe::Everything> found;
        QString error;
        try {
            found = search(name, params, connectTimeout, requestTimeout, served);
        } catch (const DbError& e) {
            error = e.text();
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        }
        std::lock_guard lock(s->mutex);
        if (s->abandoned)
            return;
        s->found = std::move(found);
        s->error = error;
        s->done = true;
        s->over.notify_all();
        // Under the lock: the owner, once it holds the lock, is not yet gone.
        QMetaObject::invokeMethod(this, &EveryShiftSearch::deliver, Qt::QueuedConnection);
    });
    return true;
}

void EveryShiftSearch::deliver()
{
    if (m_thread.joinable())
        m_thread.join();
    std::shared_ptr<const NewLineProbe::Everything> found;
    {
        std::lock_guard lock(m_search->mutex);
        if (m_search->found)
            found = std::make_shared<const NewLineProbe::Everything>(std::move(*m_search->found));
        m_error = m_search->error;
    }
    emit finished(m_search->served, found);
}
