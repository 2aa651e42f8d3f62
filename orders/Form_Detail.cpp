#include "Form_Detail.h"

#include "DisplayMode.h"

Form_Detail::Form_Detail(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_Detail"), QString(), QSize(600, 477), TitleButtons::CloseOnly, parent)
{
    scaleForScreen(state, display.screenSize());
}
