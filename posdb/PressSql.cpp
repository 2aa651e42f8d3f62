#include "PressSql.h"

using namespace Qt::StringLiterals;

namespace {
DbValue state(LineState s)
{
    return DbValue::integer(stateValue(s));
}
}

PressSql::Statement PressSql::dishReady(qint64 line)
{
    return {{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = :READY WHERE KOD = :KOD"_s},
            {{u"READY"_s, state(LineState::Ready)}, {u"KOD"_s, DbValue::integer(line)}}};
}

PressSql::Statement PressSql::orderReady(qint64 order, const std::array<bool, 5>& served)
{
    Statement s{{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = :READY"_s,
                 u"WHERE KOD_ZAKAZ = :ORDER AND PRINT_SECTION = :SHOWN"_s,
                 u"AND (SECTION = 800 OR SECTION = 900 OR SECTION IN (:S1, :S2, :S3, :S4, :S5))"_s},
                {{u"READY"_s, state(LineState::Ready)},
                 {u"ORDER"_s, DbValue::integer(order)},
                 {u"SHOWN"_s, state(LineState::Shown)}}};
    // An unticked section's parameter is null, which no line's section equals.
    for (size_t i = 0; i < served.size(); ++i)
        s.params.emplace_back(u"S%1"_s.arg(i + 1), served[i] ? DbValue::integer(qint64(i) + 1) : DbValue());
    return s;
}

PressSql::Statement PressSql::takeBack(const QList<Back>& lines)
{
    if (lines.isEmpty())
        return {};
    Statement s;
    QStringList keys, cases;
    // Room for lines in steps of TakeBackStep, the rest null: the few texts a kitchen's presses
    // need stay prepared.
    const qsizetype room = (lines.size() + TakeBackStep - 1) / TakeBackStep * TakeBackStep;
    for (qsizetype i = 0; i < room; ++i) {
        const QString key = u":K%1"_s.arg(i + 1);
        keys << key;
        cases << u"WHEN %1 THEN CAST(:B%2 AS INTEGER)"_s.arg(key).arg(i + 1);
        const bool line = i < lines.size();
        s.params.emplace_back(u"K%1"_s.arg(i + 1), line ? DbValue::integer(lines[i].line) : DbValue());
        s.params.emplace_back(u"B%1"_s.arg(i + 1), line ? state(lines[i].before) : DbValue());
    }
    s.params.emplace_back(u"READY"_s, state(LineState::Ready));
    s.sql = QStringList{u"UPDATE ZAKAZ_STR SET PRINT_SECTION = CASE KOD "_s + cases.join(u' ') + u" END"_s,
                        u"WHERE KOD IN ("_s + keys.join(u", "_s) + u") AND PRINT_SECTION = :READY"_s};
    return s;
}
