#pragma once
// A cook's press on the point of sale's lines: the order window's "ready" for one dish or a
// whole order, and the take-back of lines to the states they had before. Every key, state and
// section is bound as a parameter; the texts only grow with the number of lines taken back, in
// steps, so that each text is prepared once and kept (see Form_Base::WriteStatement).

#include "DbValue.h"
#include "LineState.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

namespace PressSql {
using Params = std::vector<std::pair<QString, DbValue>>;

struct Statement {
    QStringList sql;
    Params params;
};

// One line set ready, whatever its state: the cook chose it.
Statement dishReady(qint64 line);
// The order's lines shown to the cooks in the served sections (800 and 900 always, 1 to 5 as
// ticked) set ready; lines not yet shown, not yet sent or of other sections keep their state.
Statement orderReady(qint64 order, const std::array<bool, 5>& served);

// A line going back, and the state it goes back to.
struct Back {
    qint64 line = 0;
    LineState before = LineState::Shown;
};
// The lines still ready go back each to its state before; a line another program changed
// meanwhile is left as it is. Nothing to write for no lines.
Statement takeBack(const QList<Back>& lines);
constexpr int TakeBackStep = 8;
}
