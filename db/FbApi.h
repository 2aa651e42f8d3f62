#pragma once
// The few pieces of libfbclient's interface API that the database layer shares.

#include <firebird/Interface.h>

#include <QByteArray>

namespace Fb {
Firebird::IMaster* master();
Firebird::IUtil* util();

// A status vector for one call sequence; check() turns a recorded error into DbError.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &m_wrapper; }
    void check();

private:
    Firebird::IStatus* m_status;
    Firebird::CheckStatusWrapper m_wrapper;
};

// Disposes of a parameter block builder.
struct BuilderDeleter {
    void operator()(Firebird::IXpbBuilder* b) const { b->dispose(); }
};

// The server's character set for the connection's text: WIN1251.
constexpr unsigned charsetWin1251 = 52;
}
