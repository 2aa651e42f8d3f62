#pragma once
// What the monitor keeps of the point of sale's lines (for its journal and its log), read by key.

#include <QStringList>

namespace LineDetailsSql {
// The lines' key, order, order number, waiter, dish, section, quantity, start and due moment,
// and present state, for up to KeysPerRead keys bound as :K1… (unused ones NULL), by key.
constexpr int KeysPerRead = 20;
QStringList byKeys();
// The same details but the key, as the new-line probe brings them in its own rows.
extern const QStringList ProbeColumns;
}
