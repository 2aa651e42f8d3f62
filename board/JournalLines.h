#pragma once
// What the journal keeps of the point of sale's lines, read from the server by key or by order
// at the moment of an announcement or just before a cook's write. A failing read costs the
// journal its entry and nothing else: it is logged and never thrown.

#include "BoardSql.h"
#include "Journal.h"

#include <QList>

class Form_Base;

namespace JournalLines {
// The lines' order, waiter, dish, section, quantity, start and due moment, and present state.
QStringList byKeySql(const QList<qint64>& keys);
QStringList byOrderSql(qint64 order, const ServedSections& served);
QList<Journal::Line> read(Form_Base& base, const QStringList& sql);
QList<Journal::Line> read(Form_Base& base, const QList<qint64>& keys);

// The polling announced these lines.
void announced(Form_Base& base, const QList<qint64>& keys);
}

// A cook's press as the journal records it: the lines read before the write, and recorded once
// the write has succeeded. Of them only the ones the press changes count: for a "ready" those
// not ready before, for a take-back those that were.
class JournalPress {
public:
    JournalPress(Form_Base& base, Journal::Kind kind, const QList<qint64>& keys);
    JournalPress(Form_Base& base, Journal::Kind kind, qint64 order, const ServedSections& served);
    // The write went through; the press's id in the journal (0 when not written).
    qint64 done();

private:
    Journal::Kind m_kind;
    QList<Journal::Line> m_lines;
};
