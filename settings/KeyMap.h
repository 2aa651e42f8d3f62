#pragma once
// Which key does what at the board and in the order window. A bump bar or a numeric keypad is
// a keyboard to the computer; "Keys.txt" says which of its codes stands for which action, one
// action a line with its keys after it, so a bar programmed to send other codes is set up by
// editing that file. Key names are Qt's portable ones ("Enter", "PgUp", "Del", "+", "F5",
// "Ctrl+F5"); a key of the numeric keypad counts as the same key elsewhere on the keyboard, and
// a character counts as itself whether Shift or AltGr typed it.

#include <QHash>
#include <QKeyCombination>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

enum class KeyAction {
    Order1, Order2, Order3, Order4, Order5, Order6,
    PrevOrder, NextOrder, PrevDish, NextDish,
    DishReady, OrderReady, TakeBack,
    AllOrders, PrevPage, NextPage, HotQueue, AllDay,
    OpenOrder, Close,
    Recall, Statistics,
};

class KeyMap {
public:
    // The map of a numeric keypad.
    KeyMap();

    std::optional<KeyAction> action(QKeyCombination key) const;
    QList<QKeyCombination> keys(KeyAction action) const;

    // The file's lines: from the defaults, each action that a line names takes that line's keys,
    // and a key given to an action there is taken from any other. Empty lines and lines starting
    // with '#' say nothing; a line that cannot be read is left out and told in `problems`.
    static KeyMap parse(const QStringList& lines, QStringList* problems = nullptr);
    // The lines of this map, one per action, as the file holds them.
    QStringList lines() const;

    // "Keys.txt" in the settings folder: written with the defaults when missing. A file that
    // cannot be read keeps the defaults; what went wrong is logged, once for the whole file.
    static KeyMap load(const QString& folder);

    static QString name(KeyAction action);
    static constexpr int ActionCount = int(KeyAction::Statistics) + 1;

private:
    static QKeyCombination plain(QKeyCombination key);
    QHash<int, KeyAction> m_actions; // by the key's combined code, keypad modifier dropped
};
