#pragma once
// Searches every shift for new lines on a thread of its own, on an attachment of its own, so a
// long history read cold never holds the board. The thread only runs the statements and hands
// the keys back to the thread that started it; what they mean is decided there
// (NewLineProbe::arrived). One search at a time.

#include "BoardSql.h"
#include "NewLineProbe.h"
#include "ThreadedRun.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class Database;

class EveryShiftSearch : public QObject {
    Q_OBJECT
public:
    explicit EveryShiftSearch(QObject* parent = nullptr);

    // The program's end waits at most this long for a search under way; one that takes longer
    // is left to finish on its own.
    static constexpr int EndWaitMs = ThreadedRun<NewLineProbe::Everything>::EndWaitMs;

    bool running() const { return m_run.running(); }
    // Starts a search with the database's name, parameters and time limits; false when one is
    // under way or the parameters cannot be built (error() says why).
    bool start(const Database& db, const ServedSections& served);
    QString error() const { return m_error; }

signals:
    // The search is over, on the thread that started it; `found` is empty when it failed.
    void finished(const ServedSections& served, const std::shared_ptr<const NewLineProbe::Everything>& found);

private:
    ThreadedRun<NewLineProbe::Everything> m_run;
    QString m_error;
};
