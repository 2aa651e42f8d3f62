#include "Form_Limit.h"

#include "DisplayMode.h"

Form_Limit::Form_Limit(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_Limit"), QStringLiteral("Установка лимитов блюд"), QSize(633, 420), TitleButtons::None, parent)
{
    scaleForScreen(state, display.screenSize());
}
