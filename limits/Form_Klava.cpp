#include "Form_Klava.h"

#include "DisplayMode.h"

Form_Klava::Form_Klava(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_Klava"), QString(), QSize(233, 225), TitleButtons::CloseOnly, parent)
{
    scaleForScreen(state, display.screenSize());
}
