#include "Form_Detail.h"

#include "ButtonPictures.h"
#include "DisplayMode.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

Form_Detail::Form_Detail(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(u"Form_Detail"_s, QString(), QSize(600, 477), TitleButtons::CloseOnly, parent)
{
    BtnTime = new QPushButton(this);
    BtnTime->setObjectName(u"BtnTime"_s);
    BtnTime->setGeometry(0, 440, 42, 37);
    BtnTime->setIcon(ButtonPictures::icon(ButtonPictures::Picture::Clock));
    BtnTime->setToolTip(u"Графики приготовления"_s);
    scaleForScreen(state, display.screenSize());
}
