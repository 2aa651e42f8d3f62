#pragma once
// The limit window: the open shift's menu by section or by name, with each item's limit.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;

class Form_Limit : public DesignDialog {
    Q_OBJECT
public:
    Form_Limit(AppState& state, DisplayMode& display, QWidget* parent);
};
