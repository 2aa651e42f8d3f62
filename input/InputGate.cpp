#include "InputGate.h"

#include "Clock.h"
#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QLineEdit>
#include "Log.h"
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>

InputGate::InputGate(QObject* parent) : QObject(parent), m_left(new QTimer(this))
{
    m_left->setInterval(250);
    connect(m_left, &QTimer::timeout, this, &InputGate::leftTick);
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void InputGate::guardTouches(const Clock& clock)
{
    m_clock = &clock;
}

void InputGate::underFingerChanged()
{
    if (m_clock)
        m_closed = m_clock->now();
}

void InputGate::closedByItself()
{
    if (m_clock)
        m_closedByItself = m_clock->now();
}

bool InputGate::tooSoon(const QDateTime& since, int milliseconds) const
{
    if (!m_clock || !since.isValid())
        return false;
    // A clock set back counts as time gone by.
    const qint64 elapsed = since.msecsTo(m_clock->now());
    return elapsed >= 0 && elapsed < milliseconds;
}

bool InputGate::closedGuard() const
{
    return tooSoon(m_closed) || tooSoon(m_closedByItself, AutoCloseGuardMilliseconds);
}

bool InputGate::openedGuard(QWidget* target) const
{
    const auto opened = m_opened.constFind(target->window());
    return opened != m_opened.constEnd() && tooSoon(*opened);
}

void InputGate::closeWhenLeft(QDialog* window, std::function<void()> left)
{
    m_closeWhenLeft.insert(window, std::move(left));
}

void InputGate::leftTick()
{
    if (!m_clock)
        return;
    const qint64 since = m_present.msecsTo(m_clock->now());
    if (since >= LeftMilliseconds)
        closeLeftWindows();
}

void InputGate::closeLeftWindows()
{
    // From the top down: the boxes and windows over the one left alone go with it, answered
    // as Cancel; each returns to the one below once this handler is done.
    QList<QDialog*> open;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible())
            open << dialog;
    const auto left = std::find_if(open.cbegin(), open.cend(), [this](QDialog* d) { return m_closeWhenLeft.contains(d); });
    if (left == open.cend()) {
        m_left->stop();
        return;
    }
    qCInfo(lcMonitor).noquote() << "left alone, closed:" << (*left)->windowTitle();
    closedByItself();
    while (QWidget* modal = QApplication::activeModalWidget()) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog || !dialog->isVisible())
            break;
        const auto listed = m_closeWhenLeft.constFind(dialog);
        if (listed != m_closeWhenLeft.constEnd() && *listed)
            (*listed)();
        dialog->reject();
        if (QApplication::activeModalWidget() == modal)
            break; // it would not go
    }
}

void InputGate::windowShownOrHidden(QObject* watched, bool shown)
{
    // The program's windows and boxes are dialogs; tooltips and drop-down lists are not.
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog && dialog->isWindow() && m_closeWhenLeft.contains(dialog) && shown && m_clock) {
        m_present = m_clock->now();
        m_left->start();
    }
    if (!m_clock || !dialog || !dialog->isWindow())
        return;
    if (shown)
        m_opened.insert(dialog, m_clock->now());
    else if (m_opened.remove(dialog))
        m_closed = m_clock->now();
}

bool InputGate::touch(QObject* watched, QEvent* event)
{
    if (!m_clock)
        return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        // refusedRelease
        if (m_releaseRefused && watched->isWidgetType()) {
            m_releaseRefused = false;
            return true;
        }
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target)
        return false;
    m_releaseRefused = closedGuard() || openedGuard(target);
    return m_releaseRefused;
}

void InputGate::touchPressed(const QObject* place, const std::optional<TouchTarget>& target)
{
    m_pressedPlace = place;
    m_pressed = target;
}

bool InputGate::touchReleased(const QObject* place, const std::optional<TouchTarget>& now)
{
    // heldAcrossPoll
    const bool pressedHere = std::exchange(m_pressedPlace, nullptr) == place;
    const std::optional<TouchTarget> pressed = std::exchange(m_pressed, std::nullopt);
    return !pressedHere || pressed == now;
}

bool InputGate::doubleTap(const QObject* window)
{
    if (!m_clock)
        return false;
    const QDateTime now = m_clock->now();
    const QDateTime last = std::exchange(m_lastTap[window], now);
    const qint64 since = last.isValid() ? last.msecsTo(now) : -1;
    return since >= 0 && since < DoubleTapMilliseconds;
}

void InputGate::routeKeys(QWidget* window, KeyHandler handler)
{
    m_routes << Route{window, std::move(handler)};
}

void InputGate::routeKeys(QWidget* window, const BoardKeys& keys, Dialogs& dialogs)
{
    routeKeys(window, [window, keys, &dialogs](KeyAction action) {
        bool used = true;
        reportErrors(dialogs, window, [&] { used = KeyDecisions::atBoard(action, keys); });
        return used;
    });
}

void InputGate::routeKeys(QWidget* window, const ListKeys& keys, Dialogs& dialogs)
{
    routeKeys(window, [window, keys, &dialogs](KeyAction action) {
        bool used = true;
        reportErrors(dialogs, window, [&] { used = KeyDecisions::inList(action, keys); });
        return used;
    });
}

void InputGate::routeKeys(QWidget* window, const BrowseKeys& keys, Dialogs& dialogs)
{
    routeKeys(window, [window, keys, &dialogs](KeyAction action) {
        bool used = true;
        reportErrors(dialogs, window, [&] { used = KeyDecisions::inBrowse(action, keys); });
        return used;
    });
}

bool InputGate::questionKeys(QWidget* window, const QKeyEvent* event)
{
    if (!qobject_cast<QMessageBox*>(window))
        return false;
    switch (event->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        return true; // taken here, so that it does nothing
    }
}

bool InputGate::keyRepeat(KeyAction action)
{
    return action == KeyAction::PrevDish || action == KeyAction::NextDish || action == KeyAction::PrevOrder
           || action == KeyAction::NextOrder;
}

bool InputGate::buttonArrows(QObject* watched, const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return qobject_cast<QAbstractButton*>(watched) != nullptr;
    default:
        return false;
    }
}

bool InputGate::key(QObject* watched, QKeyEvent* event)
{
    if (questionKeys(static_cast<QWidget*>(watched)->window(), event))
        return true;
    // keyMap
    const std::optional<KeyAction> action = m_map.action(event->keyCombination());
    if (!action)
        return buttonArrows(watched, event);
    // keyRoute
    QWidget* window = static_cast<QWidget*>(watched)->window();
    QWidget* modal = QApplication::activeModalWidget();
    for (const Route& route : m_routes) {
        if (route.window != window || (modal && modal != window))
            continue;
        // keyRepeat: a held key must not mark one dish after another.
        if (event->isAutoRepeat() && !keyRepeat(*action))
            return true;
        if (route.handler(*action))
            return true;
        break;
    }
    return buttonArrows(watched, event);
}

void InputGate::someoneThere(QObject* watched, const QKeyEvent* key)
{
    // A key typed into a field, or one that moves the focus; not a cook's key that the window
    // lets go by.
    const bool typing = !key || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
                        || qobject_cast<QLineEdit*>(watched) || qobject_cast<QAbstractSpinBox*>(watched);
    if (typing && m_clock)
        m_present = m_clock->now();
    emit cookInput();
}

bool InputGate::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        windowShownOrHidden(watched, event->type() == QEvent::Show);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType())
            someoneThere(watched);
        if (touch(watched, event))
            return true;
        break;
    case QEvent::KeyPress:
        if (!watched->isWidgetType())
            break;
        someoneThere(watched, static_cast<QKeyEvent*>(event));
        // Only the press is taken: its release still tells the idle clock that someone is there.
        if (key(watched, static_cast<QKeyEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
