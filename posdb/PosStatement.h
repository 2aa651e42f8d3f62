#pragma once
// A statement for the point of sale with the values of its parameters: the text depends only on
// how many values there are, so a query given the same text again keeps its prepared statement.

#include "DbValue.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class Query;

struct PosStatement {
    QStringList sql;
    std::vector<std::pair<QString, DbValue>> params;

    // Gives the query the text and binds every value.
    void bindTo(Query& query) const;
};

namespace PosSql {
// ":<prefix>1, :<prefix>2, … :<prefix>count", the parameters of an IN list.
QString parameterList(const QString& prefix, int count);
}
