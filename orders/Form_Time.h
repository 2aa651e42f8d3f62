#pragma once
// The serving-time window: gives dishes of an order a fixed serving time or takes it away.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;

class Form_Time : public DesignDialog {
    Q_OBJECT
public:
    Form_Time(AppState& state, DisplayMode& display, QWidget* parent);
};
