#pragma once
// The menu behind the limit window: the open shift's sections, the items of the current one (or
// of the whole menu whose names match a search), their delayed reload, and the limit on an item.

#include "DbValue.h"
#include "Query.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Dialogs;
class Form_Base;

class MenuBrowser : public QObject {
    Q_OBJECT
public:
    MenuBrowser(Form_Base& base, Dialogs& dialogs, QObject* parent = nullptr);

    Form_Base& base() const { return m_base; }

    Query QMenuGroup;
    Query QMenuStr;
    QTimer TimerMenuStr; // the delayed reload of menu items, 200 ms

    // What the browsing reads from and does to the limit window, wired by that window.
    struct Hooks {
        // The search text while the window searches by name; nothing while it browses sections.
        std::function<std::optional<QString>()> searchText;
        // The items grid usable, or greyed while a reload is due.
        std::function<void(bool)> itemsEnabled;
    } hooks;

    // Reads the open shift's sections; the items follow after the reload's delay.
    void openSections();
    // A section move or a key in the search box: the items are reloaded once, 200 ms after the
    // last of a quick run of them.
    void QMenuGroupAfterScroll();
    void TimerMenuStrTimer();
    // Fills QMenuStr with the items of the current section, or of the section's whole menu
    // whose names contain the search text.
    void LoadMenuStr();
    // The key of the current item; 0 when there is none.
    qint64 currentMenuItem() const;
    // Writes a limit (null for none) on the current item and re-reads the items, staying on it.
    void SetMenuStrLimit(const DbValue& limit);

private:
    Form_Base& m_base;
    Dialogs& m_dialogs;
};
