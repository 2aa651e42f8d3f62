#pragma once
// The one error of the database layer: the server's own text, its ISC error code and SQLSTATE.
// what() carries the text in UTF-8, so the handler boundary shows it like any other error.

#include <QString>
#include <stdexcept>

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& text, long iscCode = 0, const QString& sqlState = {});

    QString text() const { return QString::fromUtf8(what()); }
    // The first ISC code of the server's status, 0 for errors raised by this layer itself.
    long iscCode() const { return m_iscCode; }
    // Five characters such as "42S02"; empty for errors raised by this layer itself.
    QString sqlState() const { return m_sqlState; }

private:
    long m_iscCode;
    QString m_sqlState;
};
