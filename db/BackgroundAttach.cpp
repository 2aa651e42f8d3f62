#include "BackgroundAttach.h"

#include "Database.h"
#include "DbError.h"
#include "FbApi.h"

#include <utility>

BackgroundAttach::BackgroundAttach(Database& db, QObject* parent) : QObject(parent), m_db(db) {}

BackgroundAttach::~BackgroundAttach()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_result) {
        Fb::Status st;
        m_result->detach(&st);
        if ((&st)->getState() & Firebird::IStatus::STATE_ERRORS)
            m_result->release();
    }
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
    m_thread = std::thread([this, name = m_db.DatabaseName, dpb] {
        Firebird::IAttachment* att = nullptr;
        QString error;
        try {
            att = Database::attach(name, dpb);
        } catch (const DbError& e) {
            error = e.text();
        }
        {
            std::lock_guard lock(m_mutex);
            m_result = att;
            m_resultError = error;
        }
        QMetaObject::invokeMethod(this, &BackgroundAttach::deliver, Qt::QueuedConnection);
    });
    return true;
}

void BackgroundAttach::deliver()
{
    if (m_thread.joinable())
        m_thread.join();
    Firebird::IAttachment* att;
    {
        std::lock_guard lock(m_mutex);
        att = std::exchange(m_result, nullptr);
        m_error = m_resultError;
    }
    if (att && m_db.connected()) {
        // Connected meanwhile by other means: the spare goes.
        Fb::Status st;
        att->detach(&st);
        if ((&st)->getState() & Firebird::IStatus::STATE_ERRORS)
            att->release();
    } else if (att) {
        m_db.adopt(att);
    }
    emit finished(att != nullptr);
}
