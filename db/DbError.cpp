#include "DbError.h"

#include <algorithm>

namespace {
// Network and shutdown errors: the attachment is of no more use.
constexpr long lostCodes[] = {
    335544721, // isc_network_error
    335544726, // isc_net_read_err
    335544727, // isc_net_write_err
    335544741, // isc_lost_db_connection
    335544856, // isc_att_shutdown
    335544648, // isc_conn_lost
    335544528, // isc_shutdown
};
// Another transaction holds the rows: nothing is wrong that waiting will not mend.
constexpr long conflictCodes[] = {
    335544336, // isc_deadlock
    335544345, // isc_lock_conflict
    335544451, // isc_update_conflict
    335544510, // isc_lock_timeout
};

bool any(const std::vector<long>& codes, const auto& set)
{
    return std::any_of(codes.begin(), codes.end(),
                       [&](long c) { return std::find(std::begin(set), std::end(set), c) != std::end(set); });
}
}

DbError::DbError(const QString& text, long iscCode, const QString& sqlState, Kind kind)
    : std::runtime_error(text.toStdString()), m_iscCode(iscCode), m_sqlState(sqlState), m_kind(kind)
{
}

DbError::Kind DbError::kindOf(const std::vector<long>& codes)
{
    if (any(codes, lostCodes))
        return Kind::ConnectionLost;
    if (any(codes, conflictCodes))
        return Kind::Conflict;
    return Kind::Other;
}
