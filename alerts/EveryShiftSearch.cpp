#include "EveryShiftSearch.h"

#include "Database.h"
#include "DbError.h"
#include "Query.h"
#include "Transaction.h"

#include <optional>

using namespace Qt::StringLiterals;

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
    return m_run.start(
        this,
        [name = db.DatabaseName, params = db.Params, connectTimeout = db.ConnectTimeout,
         requestTimeout = db.RequestTimeout, served] { return search(name, params, connectTimeout, requestTimeout, served); },
        [this, served](std::optional<NewLineProbe::Everything> found, const QString& error) {
            m_error = error;
            emit finished(served, found ? std::make_shared<const NewLineProbe::Everything>(std::move(*found)) : nullptr);
        });
}
