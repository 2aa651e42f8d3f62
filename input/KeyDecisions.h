#pragma once
// What a key of the map means in each of the cook's windows. A window hands the input gate its
// plain handlers (BoardKeys at the board, ListKeys in a window that lists rows); the decisions
// here say which handler a key calls, or that it means nothing there and goes on to the widgets.
//
// At the board: the digits choose a panel's order, the arrows step through orders and dishes,
// Enter and "+" press on the chosen dish and order (with no order chosen they go on, to press a
// button the keyboard has focused), "-" takes back the newest press, "/" opens the recall list,
// and the other keys stand for the board's buttons.
// In a list (the order window, the recall list): Up and Down choose a row (from an end when none
// is chosen), Enter acts on the row and "+" on the window's whole order, Esc closes. A key never
// takes a "ready" back: Enter on a ready dish and "+" on a ready order do nothing.

#include "KeyMap.h"

#include <functional>

struct BoardKeys {
    std::function<bool()> orderChosen;
    std::function<bool()> dishChosen;
    std::function<void(int panel)> choosePanel; // 0 … 5
    std::function<void(int step)> stepOrder;    // 1 on, -1 back
    std::function<void(int step)> stepDish;
    std::function<void()> dishReady;  // the chosen dish
    std::function<void()> orderReady; // the chosen order
    std::function<void()> takeBack;   // the newest press
    std::function<void()> allOrders;
    std::function<void(int step)> turnPage;
    std::function<void()> hotQueue;
    std::function<void()> allDay; // "Итого"
    std::function<void()> openChosen;
    std::function<void()> dropChoice;
    std::function<void()> recall;
    std::function<void()> statistics;
};

struct ListKeys {
    std::function<void(int step)> step;
    std::function<bool()> rowDone;   // nothing for Enter to mark: no row, or a ready one; none: never
    std::function<void()> enter;     // acts on the chosen row
    std::function<bool()> wholeDone; // the whole order is ready already
    std::function<void()> whole;     // acts on the whole order; none in a window without one
    std::function<void()> close;
};

// A list that is only browsed ("Итого"): Up and Down choose a row, "." opens it, Left goes back
// a level, Esc or the list's own key closes it. Every key of the map is taken: none marks
// anything ready and none presses a button.
struct BrowseKeys {
    std::function<void(int step)> step;
    std::function<void()> open;
    std::function<void()> back;
    std::function<void()> close;
};

namespace KeyDecisions {
// Whether the key was used; one that was not goes on to the widgets.
bool atBoard(KeyAction action, const BoardKeys& board);
bool inList(KeyAction action, const ListKeys& list);
bool inBrowse(KeyAction action, const BrowseKeys& browse);
}
