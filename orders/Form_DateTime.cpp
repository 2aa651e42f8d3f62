#include "Form_DateTime.h"

#include "DisplayMode.h"

Form_DateTime::Form_DateTime(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_DateTime"), QStringLiteral("Дата и время подачи"), QSize(171, 125), TitleButtons::None, parent)
{
    scaleForScreen(state, display.screenSize());
}
