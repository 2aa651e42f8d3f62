#include "Form_Psw.h"

#include "DisplayMode.h"

Form_Psw::Form_Psw(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_Psw"), QStringLiteral("Системный пароль доступа к базе данных"), QSize(297, 349), TitleButtons::None, parent)
{
    scaleForScreen(state, display.screenSize());
}
