#include "Database.h"

#include "DbError.h"
#include "FbApi.h"
#include "Query.h"
#include "RequestWatchdog.h"
#include "Transaction.h"

#include <ibase.h>
#include <future>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;
using namespace Firebird;

namespace {
struct DpbItem {
    const char* name;
    unsigned char tag;
};
constexpr DpbItem dpbItems[] = {
    {"user_name", isc_dpb_user_name},
    {"password", isc_dpb_password},
    {"lc_ctype", isc_dpb_lc_ctype},
    {"sql_role_name", isc_dpb_sql_role_name},
};
}

Database::Database() = default;

Database::~Database()
{
    try {
        close();
    } catch (const DbError&) {
        // The program is ending; a failed detach changes nothing for it.
    }
}

QByteArray Database::buildDpb(const QList<QByteArray>& params, int connectTimeout)
{
    Fb::Status st;
    std::unique_ptr<IXpbBuilder, Fb::BuilderDeleter> dpb(
        Fb::util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0));
    st.check();
    for (const QByteArray& line : params) {
        qsizetype eq = line.indexOf('=');
        QByteArray name = (eq < 0 ? line : line.left(eq)).trimmed().toLower();
        QByteArray value = eq < 0 ? QByteArray() : line.mid(eq + 1);
        const DpbItem* item = nullptr;
        for (const DpbItem& candidate : dpbItems)
            if (name == candidate.name)
                item = &candidate;
        if (!item)
            throw DbError(u"Неизвестный параметр подключения \"%1\""_s.arg(QString::fromLatin1(name)));
        dpb->insertBytes(&st, item->tag, value.constData(), unsigned(value.size()));
        st.check();
    }
    if (connectTimeout > 0) {
        dpb->insertInt(&st, isc_dpb_connect_timeout, connectTimeout);
        st.check();
    }
    QByteArray bytes(reinterpret_cast<const char*>(dpb->getBuffer(&st)), int(dpb->getBufferLength(&st)));
    st.check();
    return bytes;
}

QByteArray Database::dpb() const
{
    return buildDpb(Params, ConnectTimeout);
}

IAttachment* Database::attach(const QByteArray& name, const QByteArray& dpb)
{
    Fb::Status st;
    IProvider* provider = Fb::master()->getDispatcher();
    IAttachment* att = provider->attachDatabase(&st, name.constData(), unsigned(dpb.size()),
                                                reinterpret_cast<const unsigned char*>(dpb.constData()));
    provider->release();
    st.check();
    return att;
}

void Database::open()
{
    if (connected())
        return;
    m_attachment = attach(DatabaseName, dpb());
}

void Database::adopt(IAttachment* attachment)
{
    abandon();
    m_attachment = attachment;
}

void Database::close()
{
    if (!connected())
        return;
    for (Query* q : m_queries)
        q->unprepare();
    for (Transaction* t : m_transactions)
        t->abandon();
    Fb::Status st;
    {
        Request request(*this);
        m_attachment->detach(&st);
    }
    if (st.operator&()->getState() & IStatus::STATE_ERRORS)
        m_attachment->release();
    m_attachment = nullptr;
    st.check();
}

void Database::abandon()
{
    if (!connected())
        return;
    // With the socket closed first, nothing below can wait on a server that does not answer;
    // the client then frees its handles without asking the server.
    Fb::Status cancel;
    m_attachment->cancelOperation(&cancel, fb_cancel_abort);
    for (Query* q : m_queries)
        q->unprepare(true);
    for (Transaction* t : m_transactions)
        t->abandon();
    Fb::Status st;
    m_attachment->detach(&st);
    if (st.operator&()->getState() & IStatus::STATE_ERRORS)
        m_attachment->release();
    m_attachment = nullptr;
}

void Database::startClient()
{
    // An attach without a name fails at once, after the client has set itself up.
    Fb::Status st;
    IProvider* provider = Fb::master()->getDispatcher();
    if (IAttachment* att = provider->attachDatabase(&st, nullptr, 0, nullptr))
        att->release();
    provider->release();
}

bool Database::shutdownClient()
{
    auto over = std::make_shared<std::promise<void>>();
    std::future<void> done = over->get_future();
    std::thread([over] {
        fb_shutdown(ShutdownWaitMs, fb_shutrsn_app_stopped);
        over->set_value();
    }).detach();
    return done.wait_for(std::chrono::milliseconds(ShutdownWaitMs)) == std::future_status::ready;
}

int Database::requestsBrokenOff() const
{
    return m_watchdog ? m_watchdog->aborts() : 0;
}

Database::Request::Request(Database& db) : m_db(db)
{
    if (m_db.m_depth++ > 0 || !m_db.m_attachment || m_db.RequestTimeout.count() <= 0)
        return;
    if (!m_db.m_watchdog)
        m_db.m_watchdog = std::make_unique<RequestWatchdog>(m_db.RequestTimeout);
    m_db.m_watchdog->arm(m_db.m_attachment);
}

Database::Request::~Request()
{
    if (--m_db.m_depth == 0 && m_db.m_watchdog)
        m_db.m_watchdog->disarm();
}

IAttachment* Database::attachment()
{
    if (!m_attachment)
        throw DbError(u"Нет подключения к базе данных"_s, 0, {}, DbError::Kind::ConnectionLost);
    return m_attachment;
}
