#pragma once
// A throwaway point-of-sale database on the project's own server (scripts/firebird), made from pos/schema.sql (and the demo
// shift, and a year of closed shifts with that many order lines, when asked), with a connection
// of its own standing in for the point of sale.

#include "Database.h"
#include "DbError.h"
#include "Query.h"
#include "Transaction.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <memory>
#include <utility>

class TestDatabase {
public:
    explicit TestDatabase(bool demo = false, int historyLines = 0)
    {
        static QAtomicInteger<int> counter;
        // The real path: the server may not be allowed through the build folder to a link.
        m_path = QStringLiteral("%1/data/kitchen-test-%2-%3.fdb")
                     .arg(QFileInfo(QStringLiteral(FIREBIRD_ROOT)).canonicalFilePath())
                     .arg(QCoreApplication::applicationPid())
                     .arg(counter.fetchAndAddRelaxed(1));
        create(demo, historyLines);
    }

private:
    void create(bool demo, int historyLines)
    {
        if (server().isEmpty()) {
            m_error = QStringLiteral("no Firebird server of the project's own: run scripts/firebird");
            return;
        }
        QStringList args{m_path};
        if (demo)
            args << QStringLiteral("--demo");
        if (historyLines > 0)
            args << QStringLiteral("--history") << QString::number(historyLines);
        QProcess create;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KITCHEN_FIREBIRD_SERVER"), QString::fromLatin1(server()));
        create.setProcessEnvironment(env);
        create.start(QStringLiteral(SOURCE_DIR "/pos/create-db"), args);
        if (!create.waitForFinished(historyLines > 0 ? 600000 + historyLines / 4 : 60000) || create.exitCode() != 0)
            m_error = QString::fromLocal8Bit(create.readAllStandardError() + create.readAllStandardOutput());
    }

public:
    // A database kept at path for later runs, made only when the file is not there yet; the
    // folder must be one the server can write to.
    TestDatabase(const QString& keptPath, bool demo, int historyLines) : m_path(keptPath), m_keep(true)
    {
        if (QFile::exists(m_path))
            return;
        // Made under another name, so that a run broken off leaves no half-made database.
        const QString path = std::exchange(m_path, m_path + QStringLiteral(".part"));
        create(demo, historyLines);
        if (m_error.isEmpty() && !QFile::rename(m_path, path))
            m_error = QStringLiteral("cannot rename %1 to %2").arg(m_path, path);
        m_path = path;
    }

    ~TestDatabase()
    {
        m_pos.reset();
        if (!m_keep)
            QFile::remove(m_path);
    }

    // Empty when the database was made; otherwise why not.
    QString error() const { return m_error; }
    QByteArray name() const { return server() + ':' + m_path.toLocal8Bit(); }
    // The database's file, as the server sees it.
    QString path() const { return m_path; }

    // Where the server listens ("127.0.0.1/3051"), as scripts/firebird left it in the build
    // folder; empty when it has not run.
    static QByteArray server()
    {
        static const QByteArray address = [] {
            QFile file(QStringLiteral(FIREBIRD_ROOT "/server"));
            return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
        }();
        return address;
    }
    static quint16 serverPort() { return quint16(server().mid(server().indexOf('/') + 1).toUInt()); }

    // The point of sale's own connection: each statement in a transaction of its own.
    void exec(const QString& sql, const std::vector<std::pair<QString, DbValue>>& params = {})
    {
        Pos& pos = posConnection();
        Transaction tr(pos.db, {QStringLiteral("write"), QStringLiteral("concurrency"), QStringLiteral("wait")});
        Query q(pos.db, tr);
        q.setSql({sql});
        for (const auto& [name, value] : params)
            q.setParam(name, value);
        q.execute();
        tr.commit();
    }

    // The first field of the first row of a select, read in a fresh transaction.
    DbValue value(const QString& sql)
    {
        Pos& pos = posConnection();
        Transaction tr(pos.db, {QStringLiteral("read"), QStringLiteral("concurrency")});
        Query q(pos.db, tr);
        q.setSql({sql});
        q.open();
        return q.recordCount() ? q.row(0).front() : DbValue();
    }

    static QList<QByteArray> params(const QByteArray& password = "quiltbank")
    {
        return {"user_name=SYSDBA", "password=" + password, "lc_ctype=WIN1251"};
    }

private:
    struct Pos {
        Database db;
    };
    Pos& posConnection()
    {
        if (!m_pos) {
            m_pos = std::make_unique<Pos>();
            m_pos->db.DatabaseName = name();
            m_pos->db.Params = params();
            m_pos->db.open();
        }
        return *m_pos;
    }

    QString m_path;
    bool m_keep = false;
    QString m_error;
    std::unique_ptr<Pos> m_pos;
};

// A point-of-sale session that has changed one order line, found by its dish, and not committed:
// the line stays locked until release() or the end of the session.
class HeldLine {
public:
    HeldLine(const QByteArray& databaseName, const QString& dish)
    {
        m_db.DatabaseName = databaseName;
        m_db.Params = TestDatabase::params();
        m_db.open();
        m_transaction = std::make_unique<Transaction>(
            m_db, QStringList{QStringLiteral("write"), QStringLiteral("concurrency")});
        Query lock(m_db, *m_transaction);
        lock.setSql({QStringLiteral("UPDATE ZAKAZ_STR SET KOLVO = 2 WHERE NAME_BLUDO = :D")});
        lock.setParam(QStringLiteral("D"), DbValue::text(dish));
        lock.execute();
    }
    void release() { m_transaction->rollback(); }

private:
    Database m_db;
    std::unique_ptr<Transaction> m_transaction;
};

// "Net.txt" naming a database the way the connection settings window writes it.
inline bool writeNetFile(const QString& folder, const QByteArray& databaseName)
{
    QFile file(QDir(folder).filePath(QStringLiteral("Net.txt")));
    return file.open(QIODevice::WriteOnly) && file.write("Local\r\n" + databaseName + "\r\n") > 0;
}
