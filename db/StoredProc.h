#pragma once
// A call of a stored procedure that returns its output parameters, read like fields.

#include "Query.h"

class StoredProc : public Query {
    Q_OBJECT
public:
    using Query::Query;

    QString StoredProcName;

    // Executes the procedure; its output parameters become the current row. The statement stays
    // prepared between calls while the name is unchanged.
    void execProc();
    const DbValue& param(const QString& name) const { return field(name); }
};
