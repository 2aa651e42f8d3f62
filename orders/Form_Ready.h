#pragma once
// "Готовые заказы": what this monitor made ready in the last half hour, newest first, each
// press with its order, waiter, dishes and time; one touch on an entry and "Вернуть в работу"
// takes exactly that press back.

#include "DesignDialog.h"
#include "Journal.h"
#include "KeyDecisions.h"

#include <functional>

struct AppState;
class Clock;
class Dialogs;
class DisplayMode;
class Form_Base;
class PressService;
class QPushButton;
class QTableWidget;

class Form_Ready : public DesignDialog {
    Q_OBJECT
public:
    Form_Ready(AppState& state, Dialogs& dialogs, DisplayMode& display, const Clock& clock, QWidget* parent);

    // refresh re-reads the board once the window hides after a take-back.
    void attach(Form_Base& base, PressService& presses, std::function<void()> refresh);

    QTableWidget* G;
    QPushButton* BtnBack; // "Вернуть в работу"
    QPushButton* BtnExit;

    // The list read afresh and the window shown modally.
    void showRecent();
    // The list read afresh from the journal.
    void fill();
    void BtnBackClick();
    // The newest entry taken back from the board (a key), the list's window not shown; none
    // when there was no entry or the write failed (its box then said so).
    std::optional<Journal::Press> takeBackNewest();
    // What the keys of the map do here, for the input gate: Up and Down choose an entry, Enter
    // takes it back after the question a touch on the order window's button asks, Esc closes.
    ListKeys keys();
    // The question before an entry goes back by a key.
    static QString backQuestion(const Journal::Press& entry);
    const QList<Journal::Press>& entries() const { return m_entries; }

    static const QString Caption;
    static const QString BackCaption;
    static const QString NoJournal;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void chosenChanged();
    void stepEntry(int step);
    // The entry the cook has chosen in the list; none while nothing is chosen or connected.
    std::optional<Journal::Press> chosenEntry() const;
    void takeBackByKey();
    bool takeBack(const Journal::Press& entry, QWidget* boxParent);

    Dialogs& m_dialogs;
    const Clock& m_clock;
    Form_Base* m_base = nullptr;
    PressService* m_presses = nullptr;
    std::function<void()> m_refresh;
    QList<Journal::Press> m_entries;
    bool m_changed = false;
};
