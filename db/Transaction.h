#pragma once
// One transaction on the attachment, described by its named parameter items ("read_committed",
// "rec_version", "nowait", "read", "write", "consistency", "lock_timeout=5"...). It is rolled
// back when destroyed unfinished.

#include <QByteArray>
#include <QStringList>

namespace Firebird { class ITransaction; }
class Database;

class Transaction {
public:
    Transaction(Database& db, const QStringList& params);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    QStringList Params;

    bool inTransaction() const { return m_handle != nullptr; }
    void start();    // throws DbError, also when already started
    void commit();
    void rollback();

    static QByteArray buildTpb(const QStringList& params); // throws DbError on an unknown item

private:
    friend class Database;
    friend class Query;
    Firebird::ITransaction* handle(); // starts the transaction on first use
    void abandon(); // the attachment is going away: roll back, whatever happens

    Database& m_db;
    Firebird::ITransaction* m_handle = nullptr;
};
