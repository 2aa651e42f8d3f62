#include "KeyInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyInput::KeyInput(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

KeyInput::~KeyInput()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void KeyInput::route(QWidget* window, Handler handler)
{
    m_routes << Route{window, std::move(handler)};
}

bool KeyInput::eventFilter(QObject* watched, QEvent* event)
{
    // Only the press is taken: its release still tells the idle clock that someone is there.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<KeyAction> action = m_map.action(key->keyCombination());
    if (!action)
        return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    QWidget* modal = QApplication::activeModalWidget();
    for (const Route& route : m_routes) {
        if (route.window != window || (modal && modal != window))
            continue;
        // A held key repeats: it must not mark one dish after another.
        if (key->isAutoRepeat())
            return *action == KeyAction::PrevDish || *action == KeyAction::NextDish
                           || *action == KeyAction::PrevOrder || *action == KeyAction::NextOrder
                       ? route.handler(*action)
                       : true;
        return route.handler(*action);
    }
    return false;
}
