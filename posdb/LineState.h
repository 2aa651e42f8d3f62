#pragma once
// The kitchen state of an order line, as the point of sale keeps it in ZAKAZ_STR.PRINT_SECTION.
// The point of sale writes New; the monitor moves a line to Shown when it announces it, and a
// cook's press to Ready (a take-back returns it to the state it had before).

enum class LineState : int {
    None = 0,  // not for the kitchen
    New = 1,   // sent to the kitchen, not yet announced
    Shown = 2, // announced, in work
    Ready = 3, // cooked
};

constexpr int stateValue(LineState state) { return static_cast<int>(state); }
