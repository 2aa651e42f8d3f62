#pragma once
// The one attachment to the point of sale's database. Its name is the server-qualified file
// name exactly as configured; its parameters are "name=value" lines turned into the DPB.

#include <QByteArray>
#include <QList>
#include <vector>

namespace Firebird { class IAttachment; }
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

    void open();  // throws DbError
    void close(); // rolls back open transactions and frees prepared statements first
    bool connected() const { return m_attachment != nullptr; }

    // Requests the program has put to the server (prepares, opens, executions), counted even
    // when the connection is not open: the measure of what a piece of work costs.
    int requestCount() const { return m_requests; }

    static QByteArray buildDpb(const QList<QByteArray>& params); // throws DbError

private:
    friend class Transaction;
    friend class Query;
    Firebird::IAttachment* attachment(); // throws DbError when not connected
    void countRequest() { ++m_requests; }

    Firebird::IAttachment* m_attachment = nullptr;
    std::vector<Transaction*> m_transactions;
    std::vector<Query*> m_queries;
    int m_requests = 0;
};
