#pragma once
// What every modal window of the monitor has in common: a fixed design size that it takes as
// its own, the scaling to the screen at creation, centring when it is first shown, and Enter
// pressing the focused button (the default button only when no button has the focus).

#include <QDialog>

struct AppState;

class DesignDialog : public QDialog {
    Q_OBJECT
public:
    enum class TitleButtons { None, CloseOnly };

    DesignDialog(const QString& name, const QString& caption, QSize designSize,
                 TitleButtons buttons, QWidget* parent);

protected:
    // The creation-time scaling; windows call it once their controls are in place.
    void scaleForScreen(const AppState& state, QSize screen);
    void showEvent(QShowEvent* event) override;

private:
    QSize m_screen;
    bool m_placed = false;
};
