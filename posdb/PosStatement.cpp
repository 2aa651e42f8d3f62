#include "PosStatement.h"

#include "Query.h"

using namespace Qt::StringLiterals;

void PosStatement::bindTo(Query& query) const
{
    query.setSql(sql);
    for (const auto& [name, value] : params)
        query.setParam(name, value);
}

QString PosSql::parameterList(const QString& prefix, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << u":"_s + prefix + QString::number(i);
    return names.join(u", "_s);
}
