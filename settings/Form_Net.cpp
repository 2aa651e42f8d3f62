#include "Form_Net.h"

#include "DisplayMode.h"

Form_Net::Form_Net(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(QStringLiteral("Form_Net"), QStringLiteral("Настройка программы для работы в сети"), QSize(425, 481), TitleButtons::None, parent)
{
    scaleForScreen(state, display.screenSize());
}
