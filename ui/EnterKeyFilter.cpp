#include "EnterKeyFilter.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

EnterKeyFilter::EnterKeyFilter(QWidget* window, bool tabbedOnly)
    : QObject(window), m_window(window), m_tabbedOnly(tabbedOnly)
{
    window->installEventFilter(this);
    if (tabbedOnly)
        QCoreApplication::instance()->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (m_tabbedOnly && event->type() == QEvent::FocusIn && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == m_window) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool byTab = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
        m_tabbed = byTab ? static_cast<QWidget*>(watched) : nullptr;
        return false;
    }
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
    if (!button->isVisible() || !button->isEnabled() || (m_tabbedOnly && button != m_tabbed))
        return false;
    button->click();
    return true;
}
