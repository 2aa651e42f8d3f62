#pragma once
// Design-pixel windows scaled to the screen. A ratio is kept as a pair of integers and applied
// to edges rather than sizes, so widgets that touch at design size still touch when scaled.

#include <QSize>

class QWidget;
struct AppState;

struct ScaleRatio {
    int m = 1;
    int d = 1;
    int apply(int v) const;
    bool isIdentity() const { return m == d; }
    bool operator==(const ScaleRatio&) const = default;
};

// Screen height / wideBase on a wide screen, screen width / narrowBase otherwise.
ScaleRatio screenRatio(bool wideScreen, QSize screen, int wideBase, int narrowBase);

// The largest ratio at which `design` still fits on the screen, the same across and down.
ScaleRatio fitRatio(QSize screen, QSize design);

// Whether a screen is wider than 4:3.
bool isWideScreen(QSize screen);

// Scales the window's size and font and, through its containers, the geometry, fonts and grid
// column widths of everything on it.
void scaleWindow(QWidget* window, ScaleRatio ratio);

// A scaling that stretches places and sizes across and down by ratios of their own, and type,
// pictures and grid rows by one ratio, so that letters keep their shape.
struct Stretch {
    ScaleRatio across;
    ScaleRatio down;
    ScaleRatio type;
};
void stretchWindow(QWidget* window, const Stretch& stretch);

// The creation-time scaling that every window but the board applies: by screen height / 600 on
// a wide screen or screen width / 800, and only when the program started at design size.
void scaleDialogForScreen(QWidget* window, const AppState& state, QSize screen);

// Centres a window on the screen (truncating halves, never above or left of the corner).
void centreOnScreen(QWidget* window, QSize screen);

// base × hundredths / 100 rounded to the nearest integer, halves to even; exact for all bases.
int shareOf(int base, int hundredths);
