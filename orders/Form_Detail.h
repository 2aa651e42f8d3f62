#pragma once
// The order detail window: one order's dishes, marked ready one by one or all at once.

#include "DesignDialog.h"

struct AppState;
class DisplayMode;
class QPushButton;

class Form_Detail : public DesignDialog {
    Q_OBJECT
public:
    Form_Detail(AppState& state, DisplayMode& display, QWidget* parent);

    QPushButton* BtnTime; // opens the serving-time window
};
