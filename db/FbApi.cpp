#include "FbApi.h"

#include "Cp1251.h"
#include "DbError.h"

#include <QStringDecoder>

using namespace Firebird;

namespace {
// The server's messages are plain ASCII with names quoted in the connection's character set.
QString decodeServerText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? Cp1251::decode(bytes) : text;
}
}

IMaster* Fb::master()
{
    static IMaster* m = fb_get_master_interface();
    return m;
}

IUtil* Fb::util()
{
    return master()->getUtilInterface();
}

Fb::Status::Status() : m_status(master()->getStatus()), m_wrapper(m_status) {}

Fb::Status::~Status()
{
    m_status->dispose();
}

void Fb::Status::check()
{
    if (!(m_wrapper.getState() & IStatus::STATE_ERRORS))
        return;
    char buffer[2048];
    unsigned length = util()->formatStatus(buffer, sizeof buffer, &m_wrapper);
    const intptr_t* errors = m_wrapper.getErrors();
    long code = (errors[0] == isc_arg_gds) ? long(errors[1]) : 0;
    std::vector<long> codes;
    for (const intptr_t* p = errors; *p != isc_arg_end; p += (*p == isc_arg_cstring ? 3 : 2))
        if (*p == isc_arg_gds)
            codes.push_back(long(p[1]));
    char state[6] = {};
    fb_sqlstate(state, errors);
    QString text = decodeServerText(QByteArray(buffer, int(length)));
    m_wrapper.init();
    throw DbError(text, code, QString::fromLatin1(state), DbError::kindOf(codes));
}
