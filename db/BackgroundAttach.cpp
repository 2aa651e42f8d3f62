#include "BackgroundAttach.h"

#include "Database.h"
#include "DbError.h"
#include "FbApi.h"

namespace {
void letGo(Firebird::IAttachment* att)
{
    if (!att)
        return;
    Fb::Status st;
    att->detach(&st);
    if ((&st)->getState() & Firebird::IStatus::STATE_ERRORS)
        att->release();
}
}

// A silent server keeps an attach waiting for the whole connect timeout: the program does not
// wait that long to end, and an attachment made after it is let go.
BackgroundAttach::BackgroundAttach(Database& db, QObject* parent)
    : QObject(parent), m_db(db), m_run([](Firebird::IAttachment*& att) { letGo(att); })
{
}

bool BackgroundAttach::start()
{
    if (running())
        return false;
    QByteArray dpb;
    try {
        dpb = m_db.dpb();
    } catch (const DbError& e) {
        m_error = e.text();
        return false;
    }
    return m_run.start(
        this, [name = m_db.DatabaseName, dpb] { return Database::attach(name, dpb); },
        [this](std::optional<Firebird::IAttachment*> made, const QString& error) {
            m_error = error;
            Firebird::IAttachment* att = made.value_or(nullptr);
            if (att && m_db.connected())
                letGo(att); // connected meanwhile by other means: the spare goes
            else if (att)
                m_db.adopt(att);
            emit finished(att != nullptr);
        });
}
