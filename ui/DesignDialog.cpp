#include "DesignDialog.h"

#include "DesignFonts.h"
#include "EnterKeyFilter.h"
#include "Scaling.h"

#include <QShowEvent>

DesignDialog::DesignDialog(const QString& name, const QString& caption, QSize designSize,
                           TitleButtons buttons, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (buttons == TitleButtons::CloseOnly)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
    setFont(DesignFonts::dialog());
    setFixedSize(designSize);
    new EnterKeyFilter(this);
}

void DesignDialog::scaleForScreen(const AppState& state, QSize screen)
{
    m_screen = screen;
    scaleDialogForScreen(this, state, screen);
}

void DesignDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_placed && m_screen.isValid()) {
        m_placed = true;
        centreOnScreen(this, m_screen);
    }
}
