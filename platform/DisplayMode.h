#pragma once
// The screen and the display mode: what the board needs to lay itself out.

#include <QSize>

class DisplayMode {
public:
    virtual ~DisplayMode() = default;
    // Size of the screen in pixels.
    virtual QSize screenSize() const = 0;
    // Asks for a temporary display mode for this program's run. The outcome is not reported:
    // a display that refuses simply keeps its own mode.
    virtual void requestMode(int width, int height, int bitsPerPixel) = 0;
};

// The machine's own screen. On Windows the mode request changes the display for the run;
// elsewhere there is no such request and the board goes borderless at the top-left instead.
class SystemDisplayMode : public DisplayMode {
public:
    QSize screenSize() const override;
    void requestMode(int width, int height, int bitsPerPixel) override;
};
