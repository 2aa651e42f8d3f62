#include "Database.h"

#include "DbError.h"
#include "FbApi.h"
#include "Query.h"
#include "Transaction.h"

#include <memory>

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

QByteArray Database::buildDpb(const QList<QByteArray>& params)
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
    QByteArray bytes(reinterpret_cast<const char*>(dpb->getBuffer(&st)), int(dpb->getBufferLength(&st)));
    st.check();
    return bytes;
}

void Database::open()
{
    if (connected())
        return;
    QByteArray dpb = buildDpb(Params);
    Fb::Status st;
    IProvider* provider = Fb::master()->getDispatcher();
    IAttachment* att = provider->attachDatabase(&st, DatabaseName.constData(), unsigned(dpb.size()),
                                                reinterpret_cast<const unsigned char*>(dpb.constData()));
    provider->release();
    st.check();
    m_attachment = att;
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
    m_attachment->detach(&st);
    if (st.operator&()->getState() & IStatus::STATE_ERRORS)
        m_attachment->release();
    m_attachment = nullptr;
    st.check();
}

IAttachment* Database::attachment()
{
    if (!m_attachment)
        throw DbError(u"Нет подключения к базе данных"_s);
    return m_attachment;
}
