#include "TouchGuard.h"

#include "Clock.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

TouchGuard::TouchGuard(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
    qApp->installEventFilter(this);
}

TouchGuard::~TouchGuard()
{
    qApp->removeEventFilter(this);
}

void TouchGuard::underFingerChanged()
{
    m_closed = m_clock.now();
}

bool TouchGuard::tooSoon(const QDateTime& since) const
{
    if (!since.isValid())
        return false;
    // A clock set back counts as time gone by.
    const qint64 elapsed = since.msecsTo(m_clock.now());
    return elapsed >= 0 && elapsed < Milliseconds;
}

bool TouchGuard::refused(QWidget* target) const
{
    const auto opened = m_opened.constFind(target->window());
    return tooSoon(m_closed) || (opened != m_opened.constEnd() && tooSoon(*opened));
}

bool TouchGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide: {
        // The program's windows and boxes are dialogs; tooltips and drop-down lists are not.
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (!dialog || !dialog->isWindow())
            break;
        if (event->type() == QEvent::Show) {
            m_opened.insert(dialog, m_clock.now());
        } else if (m_opened.remove(dialog)) {
            m_closed = m_clock.now();
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* target = qobject_cast<QWidget*>(watched);
        if (!target)
            break;
        m_releaseRefused = refused(target);
        return m_releaseRefused;
    }
    case QEvent::MouseButtonRelease:
        if (m_releaseRefused && watched->isWidgetType()) {
            m_releaseRefused = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
