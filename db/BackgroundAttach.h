#pragma once
// Attaches a database again on a thread of its own, so that attempts against a lost or silent
// server never hold the GUI thread; the new attachment is handed to the Database on the thread
// that started the attempt. One attempt at a time.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <thread>

namespace Firebird { class IAttachment; }
class Database;

class BackgroundAttach : public QObject {
    Q_OBJECT
public:
    explicit BackgroundAttach(Database& db, QObject* parent = nullptr);
    // Waits at most half a second for an attempt under way; one that takes longer is left to
    // finish on its own, and its attachment, if any, is let go there.
    ~BackgroundAttach() override;

    static constexpr int EndWaitMs = 500;

    bool running() const { return m_thread.joinable(); }
    // Starts an attempt with the database's name and parameters; false when one is under way or
    // the parameters cannot be built (error() says why).
    bool start();
    // Why the last attempt failed; empty after one that succeeded.
    QString error() const { return m_error; }

signals:
    // The attempt is over; on success the database is connected again.
    void finished(bool attached);

private:
    struct Attempt;
    void deliver();

    Database& m_db;
    std::thread m_thread;
    std::shared_ptr<Attempt> m_attempt; // shared with the thread, which may outlive this
    QString m_error;
};
