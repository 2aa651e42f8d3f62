#pragma once
// Searches every shift for new lines on a thread of its own, on an attachment of its own, so a
// long history read cold never holds the board. The thread only runs the statements and hands
// the keys back to the thread that started it; what they mean is decided there
// (NewLineProbe::arrived). One search at a time.

#include "BoardSql.h"
#include "NewLineProbe.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <thread>

class Database;

class EveryShiftSearch : public QObject {
    Q_OBJECT
public:
    explicit EveryShiftSearch(QObject* parent = nullptr);
    // Waits at most half a second for a search under way; one that takes longer is left to
    // finish on its own.
    ~EveryShiftSearch() override;

    static constexpr int EndWaitMs = 500;

    bool running() const { return m_thread.joinable(); }
    // Starts a search with the database's name, parameters and time limits; false when one is
    // under way or the parameters cannot be built (error() says why).
    bool start(const Database& db, const ServedSections& served);
    QString error() const { return m_error; }

signals:
    // The search is over, on the thread that started it; `found` is empty when it failed.
    void finished(const ServedSections& served, const std::shared_ptr<const NewLineProbe::Everything>& found);

private:
    struct Search;
    void deliver();

    std::thread m_thread;
    std::shared_ptr<Search> m_search; // shared with the thread, which may outlive this
    QString m_error;
};
