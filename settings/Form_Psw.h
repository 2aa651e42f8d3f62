#pragma once
// The database password dialog: the default password or one of the site's own.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;

class Form_Psw : public DesignDialog {
    Q_OBJECT
public:
    Form_Psw(AppState& state, DisplayMode& display, QWidget* parent);
};
