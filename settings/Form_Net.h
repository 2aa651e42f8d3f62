#pragma once
// The connection settings dialog: local or network mode and the database path.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;

class Form_Net : public DesignDialog {
    Q_OBJECT
public:
    Form_Net(AppState& state, DisplayMode& display, QWidget* parent);
};
