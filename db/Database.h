#pragma once
// The one attachment to the point of sale's database. Its name is the server-qualified file
// name exactly as configured; its parameters are "name=value" lines turned into the DPB.

#include <QByteArray>
#include <QList>
#include <chrono>
#include <memory>
#include <vector>

namespace Firebird { class IAttachment; }
class RequestWatchdog;
class Transaction;
class Query;

class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QByteArray DatabaseName;
    // "user_name=...", "password=...", "lc_ctype=..." lines, as bytes so a password of any
    // bytes passes unchanged.
    QList<QByteArray> Params;
    // Seconds the client may take to reach the server and be let in; 0 leaves it to the client
    // library, which waits minutes for a host that accepts and never answers.
    int ConnectTimeout = 0;
    // A request left unanswered this long is broken off with a network error; 0: never.
    std::chrono::milliseconds RequestTimeout{0};

    void open();  // throws DbError
    void close(); // rolls back open transactions and frees prepared statements first
    bool connected() const { return m_attachment != nullptr; }

    // The attachment is lost: breaks its connection off without waiting for the server, forgets
    // its transactions and prepared statements, and lets it go. Fetched rows stay readable, and
    // the transactions restart and the statements are prepared again on their next use.
    void abandon();
    // Takes over an attachment made elsewhere with this database's name and parameter block.
    void adopt(Firebird::IAttachment* attachment);
    // The parameter block open() attaches with.
    QByteArray dpb() const; // throws DbError
    // Attaches without touching any Database: safe on any thread. Throws DbError.
    static Firebird::IAttachment* attach(const QByteArray& name, const QByteArray& dpb);
    // Requests broken off by the time limit so far.
    int requestsBrokenOff() const;

    // Marks one request to the server for the time limit; nested ones count as one.
    class Request {
    public:
        explicit Request(Database& db);
        ~Request();
        Request(const Request&) = delete;
        Request& operator=(const Request&) = delete;

    private:
        Database& m_db;
    };

    // Requests the program has put to the server (prepares, opens, executions), counted even
    // when the connection is not open: the measure of what a piece of work costs.
    int requestCount() const { return m_requests; }

    static QByteArray buildDpb(const QList<QByteArray>& params, int connectTimeout = 0); // throws DbError

    // Lets the client library set itself up, its own handlers of SIGTERM and SIGINT included:
    // at the first signal they would start its shutdown on a thread of its own, racing the
    // program's end, so a program that ends on those signals takes them after this.
    static void startClient();
    // Ends the client library's work while the program still runs, before its libraries are
    // unloaded: left to the exit, its own shutdown races the unloading and may crash. False
    // when it is not over within the wait: it waits for every call still inside the library,
    // such as an attach to a silent server, and the program must then end without unloading.
    static bool shutdownClient();
    static constexpr unsigned ShutdownWaitMs = 500;

private:
    friend class Transaction;
    friend class Query;
    Firebird::IAttachment* attachment(); // throws DbError when not connected
    void countRequest() { ++m_requests; }

    Firebird::IAttachment* m_attachment = nullptr;
    std::vector<Transaction*> m_transactions;
    std::vector<Query*> m_queries;
    int m_requests = 0;
    int m_depth = 0; // of nested requests
    std::unique_ptr<RequestWatchdog> m_watchdog;
};
