#include "PosSwitches.h"

#include "Form_Base.h"
#include "MenuSql.h"

using namespace Qt::StringLiterals;

void PosSwitches::wire(Form_Base& base)
{
    base.hooks.readSwitches = [&base] { read(base); };
}

void PosSwitches::read(Form_Base& base)
{
    std::optional<DbValue> alarm = base.readParam(ParamSql::integer(), u"timealarm"_s);
    base.AlarmTime = alarm ? int(alarm->toInt64().value_or(0)) : 5;
    const bool servingTimes = base.readParam(ParamSql::key(), u"time_monitor"_s).has_value();
    if (!servingTimes && base.hooks.servingTimesEnabled)
        base.hooks.servingTimesEnabled(false);
    const bool limits = base.readParam(ParamSql::key(), u"limit_monitor"_s).has_value();
    if (limits && base.hooks.limitsEnabled)
        base.hooks.limitsEnabled(true);
}
