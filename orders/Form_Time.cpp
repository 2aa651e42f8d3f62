#include "Form_Time.h"

#include "DisplayMode.h"

Form_Time::Form_Time(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_Time"), QStringLiteral("Время подачи блюд"), QSize(613, 471), TitleButtons::None, parent)
{
    scaleForScreen(state, display.screenSize());
}
