#pragma once
// The never-shown data module: the one database connection with its three transactions, the
// polling's queries and timer, the one way the windows write, and the sound file player. Its
// creation step connects with the settings files and has the monitor's switches read. The
// statements themselves belong to the features above it: the board's order list, the limit
// window's menu, the sound alert's beeps live with them.

#include "Database.h"
#include "Query.h"
#include "StoredProc.h"
#include "Transaction.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

class Dialogs;
class Form_Util;
class Settings;
class SoundPlayer;

class Form_Base : public QObject {
    Q_OBJECT
public:
    Form_Base(const Settings& settings, Form_Util& util, Dialogs& dialogs, SoundPlayer& player,
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
    // The polling's marking of new lines: each statement committed by the server as it ends,
    // the transaction ended with each marking.
    Transaction TransactionBeep;
    Query QRead1;
    Query QWrite1;
    Query QHot;
    Query QBeep;
    Query QBeepWide; // the new-line searches beyond the open shifts
    Query QW;
    Query QJournal; // the journal's reads of the lines it records, prepared once
    StoredProc MyStoredProc;

    QTimer TimerHot;      // the polling cycle, 5000 ms
    SoundPlayer& MediaPlayer1;
    int AlarmTime = 5;    // minutes, from "timealarm"; nothing consults it

    // What the creation step does to the windows, wired by the program start.
    struct Hooks {
        std::function<void()> connectionFailed;        // settings window, then the board closes
        // The server did not answer at start (its error given): the board shows the lost
        // connection and the polling attaches by itself.
        std::function<void(const QString&)> serverAwaited;
        std::function<void(bool)> servingTimesEnabled; // the detail window's serving-time button
        std::function<void(bool)> limitsEnabled;       // the board's limits button
        // Reads the point of sale's switches after an attach and tells the two hooks above;
        // throws DbError when they cannot be read.
        std::function<void()> readSwitches;
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

    // Runs one read of a setting by its name (bound as :N) on QRead1; the first row's first
    // field, if any row came back.
    std::optional<DbValue> readParam(const QString& sql, const QString& name);


private:
    void readConnectionSettings();
    void openSoundFile();

    const Settings& m_settings;
    bool m_switchesPending = false;
    Form_Util& m_util;
    Dialogs& m_dialogs;
};
