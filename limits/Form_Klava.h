#pragma once
// The on-screen keypad on which a cook types a dish limit.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;

class Form_Klava : public DesignDialog {
    Q_OBJECT
public:
    Form_Klava(AppState& state, DisplayMode& display, QWidget* parent);
};
