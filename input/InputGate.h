#pragma once
// The one gate for the cook's input: every touch and every key of the program's windows passes
// here, and the windows act only on what it lets through and says the input means. The rules,
// each a function of its own below, in the order they apply:
//
// Touches (once guardTouches has been given the clock):
//   closedGuard  - for GuardMilliseconds after any of the program's windows or boxes closed, or
//                  something under the finger went away (underFingerChanged), no touch acts: the
//                  second tap of a double tap lands on whatever lay beneath. After a window
//                  closed by itself (closedByItself) the guard lasts AutoCloseGuardMilliseconds:
//                  the cook was still reading it, and taps meant for it land on the board.
//   openedGuard  - a window or box takes no touch in its first GuardMilliseconds: those taps
//                  were meant for what was there before.
//   refusedRelease - a press that was refused takes its release with it.
//   heldAcrossPoll - a release acts only where the place holds what it held at the press
//                  (touchPressed / touchReleased): a poll may reflow the board under a resting
//                  finger.
//   doubleTap    - a second press of a ready button within DoubleTapMilliseconds does nothing.
// Keys:
//   questionKeys - in a question or message box only Enter, Esc and Tab act: an arrow must not
//                  move the focus from Cancel to OK for the next Enter.
//   keyMap       - "Keys.txt" turns a key into an action; keys outside the map go on as usual.
//   keyRoute     - the action goes to the window that routes keys and is on top; a window
//                  under a modal one gets none.
//   keyRepeat    - a held key repeats only the moving actions, never a press.
//   keyMeaning   - what the action means in the window: KeyDecisions, on the window's handlers.
//   buttonArrows - an arrow that no window took does nothing on a button: it must not walk the
//                  focus to another button (a digit of the limit keypad, a window's OK) for the
//                  next Enter. Tab still does.
// Windows left alone (leftWindows): a settings or limits window that a stray tap opened must not
// cover the board: LeftMilliseconds after the last touch, or the last key that typed into a
// field or moved the focus (Tab), it closes by itself as Cancel, with every box and window
// opened over it. The cooks' keys that it ignores do not hold it open.
// Every touch and key of the program's windows is told (cookInput), for the idle deadline.
//
// A new rule is a function here and one line where its kind of input is decided.

#include "DbValue.h"
#include "KeyDecisions.h"
#include "KeyMap.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class Clock;
class Dialogs;
class QDialog;
class QKeyEvent;
class QTimer;
class QWidget;

class InputGate : public QObject {
    Q_OBJECT
public:
    // What a touch on a grid would act on: the order and the line it was told by.
    struct TouchTarget {
        qint64 order = 0;
        QList<DbValue> line;
        bool operator==(const TouchTarget& o) const { return order == o.order && line == o.line; }
    };
    // A key handler says whether it used the action; one it leaves goes on to the widgets.
    using KeyHandler = std::function<bool(KeyAction action)>;

    static constexpr int GuardMilliseconds = 500;
    static constexpr int DoubleTapMilliseconds = 500;
    static constexpr int AutoCloseGuardMilliseconds = 2000;

    // Watches every window of the application from now on.
    explicit InputGate(QObject* parent = nullptr);
    ~InputGate() override;

    // The touch rules from now on, timed by the clock.
    void guardTouches(const Clock& clock);
    // Something under the finger went away without a window closing (a strip hidden by its own
    // button): touches wait as after a window closed.
    void underFingerChanged();
    // A window closed by itself (the idle time was up) while the cook may still be reading it.
    void closedByItself();

    // A press on the place (a grid) found this there; its release asks whether the place still
    // holds the same (heldAcrossPoll). A release on another place than the press acts.
    void touchPressed(const QObject* place, const std::optional<TouchTarget>& target);
    bool touchReleased(const QObject* place, const std::optional<TouchTarget>& now);

    // A press of a ready button in the window: true when it is the second of a double tap.
    bool doubleTap(const QObject* window);

    // The window closes by itself when left alone (leftWindows); `left` runs first, to take back
    // what its fields changed at once.
    void closeWhenLeft(QDialog* window, std::function<void()> left = {});
    static constexpr int LeftMilliseconds = 60 * 1000;

    void setKeyMap(const KeyMap& map) { m_map = map; }
    const KeyMap& keyMap() const { return m_map; }
    // Keys pressed in this window go to the handler.
    void routeKeys(QWidget* window, KeyHandler handler);
    // Keys pressed in this window mean what KeyDecisions says, on these handlers; a handler's
    // failure is told in one box.
    void routeKeys(QWidget* window, const BoardKeys& keys, Dialogs& dialogs);
    void routeKeys(QWidget* window, const ListKeys& keys, Dialogs& dialogs);
    void routeKeys(QWidget* window, const BrowseKeys& keys, Dialogs& dialogs);

signals:
    // A touch or a key in one of the program's windows, refused or not: someone is there.
    void cookInput();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The touch rules.
    bool tooSoon(const QDateTime& since, int milliseconds = GuardMilliseconds) const;
    bool closedGuard() const;
    bool openedGuard(QWidget* target) const;
    void windowShownOrHidden(QObject* watched, bool shown);
    bool touch(QObject* watched, QEvent* event);
    // The key rules.
    bool key(QObject* watched, QKeyEvent* event);
    static bool questionKeys(QWidget* window, const QKeyEvent* event);
    static bool keyRepeat(KeyAction action);
    static bool buttonArrows(QObject* watched, const QKeyEvent* event);
    // The windows left alone.
    void closeLeftWindows();
    void leftTick();
    void someoneThere(QObject* watched, const QKeyEvent* key = nullptr);

    const Clock* m_clock = nullptr;
    QDateTime m_closed;                        // when a window last closed
    QDateTime m_closedByItself;                // when a window last closed by itself
    QHash<const QWidget*, QDateTime> m_opened; // the windows shown, since when
    bool m_releaseRefused = false;
    const QObject* m_pressedPlace = nullptr;
    std::optional<TouchTarget> m_pressed;
    QHash<const QObject*, QDateTime> m_lastTap; // per window
    struct Route {
        QPointer<QWidget> window;
        KeyHandler handler;
    };
    KeyMap m_map;
    QList<Route> m_routes;
    QHash<const QDialog*, std::function<void()>> m_closeWhenLeft;
    QTimer* m_left = nullptr; // ticks while such a window is shown
    QDateTime m_present;      // the last touch, or key that typed or moved the focus
};
