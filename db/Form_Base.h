#pragma once
// The never-shown data module: the one database connection with its three transactions and the
// shared queries, the polling and signal timers, and the sound file player. Its creation step
// connects with the settings files and reads the monitor's switches. It also
// keeps the menu behind the limit window: the sections, the items and their delayed reload.

#include "Database.h"
#include "Query.h"
#include "StoredProc.h"
#include "Transaction.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

struct AppState;
class Dialogs;
class Form_Util;
class SoundPlayer;

class Form_Base : public QObject {
    Q_OBJECT
public:
    Form_Base(AppState& state, Form_Util& util, Dialogs& dialogs, SoundPlayer& player,
              QObject* parent = nullptr);

    static inline const QByteArray DefaultPassword = QByteArrayLiteral("quiltbank");
    // The write transactions: row locks only, a wait of at most 5 s for a row another holds.
    static inline QStringList WriteParams{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                          QStringLiteral("wait"), QStringLiteral("lock_timeout=5"),
                                          QStringLiteral("write")};
    // The same without the wait, for the polling.
    static inline const QStringList NoWaitWriteParams{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                                      QStringLiteral("nowait"), QStringLiteral("write")};
    // The longest the server may leave an attach or a request unanswered.
    static inline int RequestLimitSeconds = 10;
    // Tests that wait these limits out shorten them before the windows exist; the program keeps
    // 10 s and 5 s.
    static void shortenLimits(int requestSeconds, int lockSeconds);
    static inline const QString OpenFailedMessage = QStringLiteral(
        "Невозможно открыть базу данных ! Проверте настройки подключения к серверу и перезапустите программу !!!");

    Database MyDB;
    Transaction TransactionRead;
    Transaction TransactionWrite;
    Transaction TransactionBeep;
    Query QRead1;
    Query QWrite1;
    Query QZakaz;
    Query QHot;
    Query QBeep;
    Query QBeepWide; // the new-line searches beyond the open shifts
    Query QW;
    Query QMenuGroup;
    Query QMenuStr;
    Query QJournal; // the journal's reads of the lines it records, prepared once
    StoredProc MyStoredProc;

    QTimer TimerHot;      // the polling cycle, 5000 ms
    QTimer Timer_Signal;  // the pause between speaker beeps, 170 ms
    QTimer TimerMenuStr;  // the delayed reload of menu items, 200 ms
    SoundPlayer& MediaPlayer1;
    int BeepCount = 0;    // beeps given in the current alert
    int AlarmTime = 5;    // minutes, from "timealarm"; nothing consults it

    // What the creation step does to the windows, wired by the program start.
    struct Hooks {
        std::function<void()> connectionFailed;        // settings window, then the board closes
        // The server did not answer at start (its error given): the board shows the lost
        // connection and the polling attaches by itself.
        std::function<void(const QString&)> serverAwaited;
        std::function<void(bool)> servingTimesEnabled; // the detail window's serving-time button
        std::function<void(bool)> limitsEnabled;       // the board's limits button
    } hooks;

    // Connects, reads the switches, starts polling and opens the sound file. False when the
    // database could not be opened: the user has been told and the program is ending. A server
    // that does not answer is no reason to end: polling starts and attaches when it does.
    bool FormCreate();
    // After the attach that a start without the server waited for: the switches it could not
    // read then. Failures are logged; the board has its defaults meanwhile.
    void readSwitchesIfPending();

    // The one way the windows write: a short transaction of its own around one statement.
    using Params = std::vector<std::pair<QString, DbValue>>;
    void WriteStatement(const QStringList& lines, const Params& params = {});

    // Runs one MY_PARAM read on QRead1; the first row's first field, if any row came back.
    std::optional<DbValue> readParam(const QString& sql, const QString& name);
    static const QString SelectParamKey;   // by NAME_PARAM, the row's KOD
    static const QString SelectParamFloat; // by NAME_PARAM, the row's FLOAT_PARAM

    // What the menu browsing reads from and does to the limit window, wired by that window.
    struct MenuHooks {
        // The search text while the window searches by name; nothing while it browses sections.
        std::function<std::optional<QString>()> searchText;
        // The items grid usable, or greyed while a reload is due.
        std::function<void(bool)> itemsEnabled;
    } menuHooks;

    // A section move or a key in the search box: the items are reloaded once, 200 ms after the
    // last of a quick run of them.
    void QMenuGroupAfterScroll();
    void TimerMenuStrTimer();
    // Fills QMenuStr with the items of the current section, or of the section's whole menu
    // whose names contain the search text.
    void LoadMenuStr();
    // The longest text the server compares (one byte a character in code page 1251).
    static constexpr int LongestPattern = 32765;
    // The key of the current item; 0 when there is none.
    qint64 currentMenuItem() const;
    // Writes a limit (null for none) on the current item and re-reads the items, staying on it.
    void SetMenuStrLimit(const DbValue& limit);

private:
    void readConnectionSettings();
    void readSwitches();
    void openSoundFile();

    AppState& m_state;
    bool m_switchesPending = false;
    Form_Util& m_util;
    Dialogs& m_dialogs;
};
