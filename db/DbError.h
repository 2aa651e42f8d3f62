#pragma once
// The one error of the database layer: the server's own text, its ISC error code and SQLSTATE.
// what() carries the text in UTF-8, so the handler boundary shows it like any other error.

#include <QString>
#include <stdexcept>
#include <vector>

class DbError : public std::runtime_error {
public:
    // What the monitor can do about an error: a lost attachment is dropped and made again, a
    // conflict with another writer is tried again; anything else is told as it stands.
    enum class Kind { Other, ConnectionLost, Conflict };

    explicit DbError(const QString& text, long iscCode = 0, const QString& sqlState = {}, Kind kind = Kind::Other);

    QString text() const { return QString::fromUtf8(what()); }
    // The first ISC code of the server's status, 0 for errors raised by this layer itself.
    long iscCode() const { return m_iscCode; }
    // Five characters such as "42S02"; empty for errors raised by this layer itself.
    QString sqlState() const { return m_sqlState; }
    Kind kind() const { return m_kind; }
    bool connectionLost() const { return m_kind == Kind::ConnectionLost; }
    bool conflict() const { return m_kind == Kind::Conflict; }

    // The kind of a server status from all of its ISC codes: the code that matters is often not
    // the first ("lock time-out" before "update conflict", "network request" before "read").
    static Kind kindOf(const std::vector<long>& codes);

private:
    long m_iscCode;
    QString m_sqlState;
    Kind m_kind;
};
