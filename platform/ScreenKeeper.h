#pragma once
// Keeps a kitchen's screen on while the board shows: nobody touches the computer, so the
// desktop would otherwise blank the screen and lock the session, and a new order would arrive
// behind a dark screen or a password prompt.

class ScreenKeeper {
public:
    virtual ~ScreenKeeper() = default;
    // From now on the screen neither blanks nor locks; until release() or the end of the program.
    virtual void keepOn() = 0;
    virtual void release() = 0;
    // Turns a screen that went dark anyway (a person's own choice, a desktop that ignores the
    // request) back on: a new dish is to be seen.
    virtual void wake() = 0;
};
