#pragma once
// What the journal keeps of the point of sale's lines, read from the server by key or by order
// at the moment of an announcement or just before a cook's write. A failing read costs the
// journal its entry and nothing else: it is logged and never thrown.

#include "BoardSql.h"
#include "Journal.h"

#include <QList>

class Form_Base;

namespace JournalLines {
// The lines' order, waiter, dish, section, quantity, start and due moment, and present state,
// for up to KeysPerRead keys bound as :K1… (unused ones NULL).
constexpr int KeysPerRead = 20;
QStringList byKeySql();
QList<Journal::Line> read(Form_Base& base, const Journal& journal, const QList<qint64>& keys);

// The polling announced these lines.
void announced(Form_Base& base, Journal& journal, const QList<qint64>& keys);
}
