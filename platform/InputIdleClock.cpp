#include "InputIdleClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <chrono>

InputIdleClock::InputIdleClock() : m_lastInput(tickCount())
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputIdleClock::~InputIdleClock()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

quint32 InputIdleClock::tickCount()
{
    using namespace std::chrono;
    return quint32(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool InputIdleClock::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
        m_lastInput = tickCount();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
