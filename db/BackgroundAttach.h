#pragma once
// Attaches a database again on a thread of its own, so that attempts against a lost or silent
// server never hold the GUI thread; the new attachment is handed to the Database on the thread
// that started the attempt. One attempt at a time.

#include "ThreadedRun.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace Firebird { class IAttachment; }
class Database;

class BackgroundAttach : public QObject {
    Q_OBJECT
public:
    explicit BackgroundAttach(Database& db, QObject* parent = nullptr);

    // The program's end waits at most this long for an attempt under way; one that takes
    // longer is left to finish on its own, and its attachment, if any, is let go there.
    static constexpr int EndWaitMs = ThreadedRun<Firebird::IAttachment*>::EndWaitMs;

    bool running() const { return m_run.running(); }
    // Starts an attempt with the database's name and parameters; false when one is under way or
    // the parameters cannot be built (error() says why).
    bool start();
    // Why the last attempt failed; empty after one that succeeded.
    QString error() const { return m_error; }

signals:
    // The attempt is over; on success the database is connected again.
    void finished(bool attached);

private:
    Database& m_db;
    ThreadedRun<Firebird::IAttachment*> m_run;
    QString m_error;
};
