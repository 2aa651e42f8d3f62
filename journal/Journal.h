#pragma once
// The monitor's own record of what it did: the lines it announced, every write a cook's press
// made (with the lines it changed and their states before), and the program's starts and ends.
// It lives in "journal.sqlite" in the settings folder, one transaction per event in WAL mode, so
// a press that has returned survives a kill of the program. It is a by-product: a journal that
// cannot be opened, is corrupt or has no room is moved aside or left alone with a line in the
// log, and nothing it does ever reaches the cook's work.

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

struct sqlite3;
class Clock;

class Journal {
public:
    // One order line as the journal keeps it.
    struct Line {
        qint64 line = 0;
        qint64 order = 0;
        QString number; // the order's number
        QString waiter;
        QString dish;
        int section = 0;
        double quantity = 0;
        QDateTime start; // START_TIME
        QDateTime due;   // the serving time, else START_TIME plus the cooking time; may be null
        int stateBefore = 0; // PRINT_SECTION before the press
    };
    enum class Kind { DishReady, OrderReady, DishBack, OrderBack, Undo, Recall };
    static QString kindName(Kind kind);
    static bool setsReady(Kind kind) { return kind == Kind::DishReady || kind == Kind::OrderReady; }

    // A press of the last minutes that set lines ready, with those of its lines not taken back.
    struct Press {
        qint64 id = 0;
        QDateTime at;
        Kind kind = Kind::DishReady;
        QList<Line> lines;
    };

    static inline const QString FileName = QStringLiteral("journal.sqlite");
    static constexpr int KeepDays = 90;
    // Past this the journal stops growing (and says so in the log) rather than fill the disk.
    static constexpr qint64 DefaultSizeLimit = 256LL * 1024 * 1024;
    // The pages the journal keeps in memory, in KiB. An event is written and seldom read again,
    // and the system keeps the file cached: SQLite's own 2 MB would fill as the file grows.
    static constexpr int CacheKiB = 256;

    Journal() = default;
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Opens (or creates) the journal in the folder; false, with a line in the log, when it
    // stays closed. A file that is no database, or a damaged one, is moved aside first.
    bool open(const QString& folder, const Clock* clock = nullptr);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }
    void setSizeLimit(qint64 bytes);

    void started(const QString& version);
    void ended(int status);
    void announced(const QList<Line>& lines);
    // A cook's press that changed these lines; its id (0 when nothing was written). A press
    // that takes lines back ends their last "ready", so they leave the recall list.
    qint64 action(Kind kind, const QList<Line>& lines);

    // Lines of the served sections that left the cooks' work as ready, seen by the polling at
    // `at`, marked by another monitor or the point of sale: recorded as "ready elsewhere", except
    // those this monitor's own press set ready (a "ready" not taken back). How many were recorded.
    int readyElsewhere(const QList<Line>& lines, const QDateTime& at);
    // Lines back in the cooks' work, seen by the polling at `at`: the "ready" of each that no
    // take-back of this monitor ended (another monitor took it back) ends now. How many ended.
    int backElsewhere(const QList<qint64>& keys, const QDateTime& at);
    static inline const QString ElsewhereKind = QStringLiteral("ready-elsewhere");
    static inline const QString BackElsewhereKind = QStringLiteral("back-elsewhere");

    // The end of the span the last shift's summary covered; null before the first.
    QDateTime summarisedUntil();
    void setSummarisedUntil(const QDateTime& at);

    // The presses of this monitor since the moment that set lines ready and still have lines
    // not taken back, newest first.
    QList<Press> readyPresses(const QDateTime& since);

    QDateTime now() const;
    // Deletes what is older than KeepDays; run at the opening and at the first event of a day.
    void prune();

    // For the statistics and the export: the open database, or null.
    sqlite3* handle() const { return m_db; }
    // A note the program keeps between its runs; empty when there is none or no journal.
    QString note(const QString& key) const;
    void setNote(const QString& key, const QString& value);

private:
    bool openFile();
    bool createSchema();
    void moveAside(const QString& why);
    // Runs the event's statements in one transaction; a failure is logged, once per run of them.
    bool write(const char* what, const std::function<bool()>& statements);
    bool exec(const char* sql);
    void failed(const char* what, int code);
    void pruneIfDue();

    sqlite3* m_db = nullptr;
    QString m_folder;
    QString m_path;
    const Clock* m_clock = nullptr;
    qint64 m_sizeLimit = DefaultSizeLimit;
    QDate m_prunedOn;
    bool m_failing = false; // the log has been told of a failure not yet over
};
