#include "DbError.h"

DbError::DbError(const QString& text, long iscCode, const QString& sqlState)
    : std::runtime_error(text.toStdString()), m_iscCode(iscCode), m_sqlState(sqlState)
{
}
