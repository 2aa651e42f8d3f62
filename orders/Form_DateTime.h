#pragma once
// The date and time picker of a serving time.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;

class Form_DateTime : public DesignDialog {
    Q_OBJECT
public:
    Form_DateTime(AppState& state, DisplayMode& display, QWidget* parent);
};
