#include "EnterKeyFilter.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

EnterKeyFilter::EnterKeyFilter(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    // A key the focused widget left unused comes up to its window: a button that did not take
    // Enter itself is pressed here. Check boxes and radio buttons pass it on to the default button.
    QWidget* focus = m_window->focusWidget();
    auto* button = qobject_cast<QAbstractButton*>(focus);
    if (!button || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)))
        return false;
    if (!button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}
