#pragma once
// A statement on the attachment, run in the transaction given to it. Its text is a list of
// lines with named parameters (":N"); a query that is opened fetches all its rows at once and
// keeps a current row, so its row count is known and its fields are read by name.

#include "DbValue.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <optional>
#include <vector>

namespace Firebird { class IStatement; class IMessageMetadata; }
class Database;
class Transaction;

class Query : public QObject {
    Q_OBJECT
public:
    using Row = std::vector<DbValue>;

    Query(Database& db, Transaction& transaction, QObject* parent = nullptr);
    ~Query() override;

    Transaction& transaction() const { return m_transaction; }

    // The rows stay as they were when opening again fails, rather than the query closing: a
    // grid over it keeps showing the last rows while the server is away.
    bool KeepRowsOnFailure = false;

    // Statements of other texts kept prepared beside the current one, the most recent first: a
    // query that takes turns among a few texts prepares each once. 0: a changed text frees it.
    int KeepPrepared = 0;

    // Statement text. A changed text drops the prepared statement (or keeps it, see above) and
    // every bound value.
    const QStringList& sql() const { return m_sql; }
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QStringList& lines);

    // Binds a named parameter; every occurrence of the name takes the value.
    void setParam(const QString& name, const DbValue& value);

    // Each of these starts the transaction when it is not yet started. All throw DbError.
    void prepare();
    void open();    // runs a select and fetches every row; the first row becomes current
    void execute(); // runs any other statement; outputs of a procedure become the one row
    void close();   // forgets the rows; stays prepared
    // Opens the query on rows fetched by another statement, as if its own text had given them;
    // the text stays what it is, for whoever runs it later.
    void setRows(const QStringList& fieldNames, std::vector<Row> rows);
    bool isOpen() const { return m_open; }
    bool isPrepared() const { return m_statement != nullptr; }

    // Rows and the current row.
    int recordCount() const { return int(m_rows.size()); }
    int recNo() const { return m_current; } // 0-based; recordCount() past the end
    bool eof() const { return m_current >= recordCount(); }
    void first() { setRecNo(0); }
    void next() { setRecNo(m_current + 1); }
    void setRecNo(int row);
    // Moves to the first row whose field equals key; stays put and returns false when none does.
    bool locate(const QString& field, qint64 key);

    const QStringList& fieldNames() const { return m_fieldNames; }
    int fieldIndex(const QString& name) const; // -1 when there is no such field
    const Row& row(int index) const { return m_rows.at(size_t(index)); }

    // Fields of the current row by name; a missing field or an empty query throws DbError.
    const DbValue& field(const QString& name) const;
    std::optional<qint64> asInt64(const QString& name) const { return field(name).toInt64(); }
    std::optional<int> asInt(const QString& name) const;
    std::optional<double> asDouble(const QString& name) const { return field(name).toDouble(); }
    std::optional<QString> asString(const QString& name) const { return field(name).toText(); }
    std::optional<double> asDateTime(const QString& name) const;

signals:
    void rowsChanged();            // opened, executed with outputs, or closed
    void currentChanged(int row);  // the current row moved

private:
    friend class Database;
    // keepFields: the rows fetched stay readable by name though the statement is gone.
    void unprepare(bool keepFields = false);
    void bindInput(std::vector<unsigned char>& buffer, Firebird::IMessageMetadata*& metadata);
    Row decodeRow(const unsigned char* buffer) const;
    // Prepares when needed, binds the parameters and hands them to the request.
    template <typename Request>
    void send(Request request);
    void fetchAll(Firebird::IMessageMetadata* inMeta, void* input);
    void executeOnce(Firebird::IMessageMetadata* inMeta, void* input);

    struct Prepared {
        QStringList sql;
        Firebird::IStatement* statement = nullptr;
        Firebird::IMessageMetadata* outMeta = nullptr;
        QStringList paramNames, fieldNames;
    };
    Prepared takePrepared();
    void freePrepared(Prepared& p);

    Database& m_db;
    Transaction& m_transaction;
    std::vector<Prepared> m_kept;
    QStringList m_sql;
    QHash<QString, DbValue> m_params;
    QStringList m_paramNames; // of each positional parameter
    Firebird::IStatement* m_statement = nullptr;
    Firebird::IMessageMetadata* m_outMeta = nullptr;
    QStringList m_fieldNames;
    std::vector<Row> m_rows;
    int m_current = 0;
    bool m_open = false;
};
