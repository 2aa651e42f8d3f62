#include "Transaction.h"

#include "Database.h"
#include "DbError.h"
#include "FbApi.h"

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using namespace Firebird;

namespace {
struct TpbItem {
    const char* name;
    unsigned char tag;
};
constexpr TpbItem tpbItems[] = {
    {"read_committed", isc_tpb_read_committed},
    {"rec_version", isc_tpb_rec_version},
    {"no_rec_version", isc_tpb_no_rec_version},
    {"nowait", isc_tpb_nowait},
    {"wait", isc_tpb_wait},
    {"read", isc_tpb_read},
    {"write", isc_tpb_write},
    {"consistency", isc_tpb_consistency},
    {"concurrency", isc_tpb_concurrency},
    {"autocommit", isc_tpb_autocommit}, // the server commits (retaining) after each statement
};
}

Transaction::Transaction(Database& db, const QStringList& params) : Params(params), m_db(db)
{
    m_db.m_transactions.push_back(this);
}

Transaction::~Transaction()
{
    abandon();
    std::erase(m_db.m_transactions, this);
}

QByteArray Transaction::buildTpb(const QStringList& params)
{
    Fb::Status st;
    std::unique_ptr<IXpbBuilder, Fb::BuilderDeleter> tpb(
        Fb::util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0));
    st.check();
    for (const QString& param : params) {
        QString name = param.section(u'=', 0, 0).trimmed().toLower();
        QString value = param.section(u'=', 1).trimmed();
        if (name == u"lock_timeout") {
            bool ok = false;
            int seconds = value.toInt(&ok);
            if (!ok || seconds < 0)
                throw DbError(u"Неверное время ожидания блокировки \"%1\""_s.arg(param));
            tpb->insertInt(&st, isc_tpb_lock_timeout, seconds);
        } else {
            auto item = std::find_if(std::begin(tpbItems), std::end(tpbItems),
                                     [&](const TpbItem& i) { return name == QLatin1String(i.name); });
            if (item == std::end(tpbItems))
                throw DbError(u"Неизвестный параметр транзакции \"%1\""_s.arg(param));
            tpb->insertTag(&st, item->tag);
        }
        st.check();
    }
    QByteArray bytes(reinterpret_cast<const char*>(tpb->getBuffer(&st)), int(tpb->getBufferLength(&st)));
    st.check();
    return bytes;
}

void Transaction::start()
{
    if (m_handle)
        throw DbError(u"Транзакция уже начата"_s);
    QByteArray tpb = buildTpb(Params);
    IAttachment* att = m_db.attachment();
    Database::Request request(m_db);
    Fb::Status st;
    ITransaction* handle = att->startTransaction(&st, unsigned(tpb.size()),
                                                 reinterpret_cast<const unsigned char*>(tpb.constData()));
    st.check();
    m_handle = handle;
}

void Transaction::commit()
{
    if (!m_handle)
        throw DbError(u"Транзакция не начата"_s);
    Database::Request request(m_db);
    Fb::Status st;
    m_handle->commit(&st); // releases the handle on success
    st.check();
    m_handle = nullptr;
}

void Transaction::rollback()
{
    if (!m_handle)
        throw DbError(u"Транзакция не начата"_s);
    Database::Request request(m_db);
    Fb::Status st;
    m_handle->rollback(&st);
    if ((&st)->getState() & IStatus::STATE_ERRORS) {
        // A transaction the server has already lost cannot be used again either way.
        m_handle->release();
        m_handle = nullptr;
        st.check();
    }
    m_handle = nullptr;
}

void Transaction::abandon()
{
    if (!m_handle)
        return;
    Database::Request request(m_db);
    Fb::Status st;
    m_handle->rollback(&st);
    if ((&st)->getState() & IStatus::STATE_ERRORS)
        m_handle->release();
    m_handle = nullptr;
}

ITransaction* Transaction::handle()
{
    if (!m_handle)
        start();
    return m_handle;
}
