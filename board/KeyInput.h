#pragma once
// The keys of a bump bar or a keypad, taken before any widget sees them: a key of the map
// pressed in a window that handles keys becomes that window's action, whichever of its widgets
// has the focus (a grid would walk its cells, a button press itself). Keys outside the map, and
// every key in other windows (the settings, the message boxes), go on as usual.

#include "KeyMap.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class KeyInput : public QObject {
    Q_OBJECT
public:
    // An action handler says whether it used the key; a key it leaves goes on to the widgets.
    using Handler = std::function<bool(KeyAction action)>;

    explicit KeyInput(QObject* parent = nullptr);
    ~KeyInput() override;

    void setMap(const KeyMap& map) { m_map = map; }
    const KeyMap& map() const { return m_map; }
    // Keys pressed in this window go to the handler. A window under another modal window gets
    // none: the keys belong to the window on top.
    void route(QWidget* window, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Route {
        QPointer<QWidget> window;
        Handler handler;
    };
    KeyMap m_map;
    QList<Route> m_routes;
};
