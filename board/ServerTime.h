#pragma once
// The server's current time for the colours. Carried on a ServerClock (the program's way), it
// is the server's time as the last poll read it, laid on this machine's clock: a paint makes no
// request, and the clock procedure is asked only before the first poll has read the time.
// Without a ServerClock it comes from the clock procedure: a paint of the board fetches it at
// most once, lazily, and shares it among all the rows of all the grids painted in that pass.
// The reading is dropped when the event loop turns, so the next paint asks again; but a
// reading taken to fit the grids to new rows serves the paint those rows bring, at the next
// turn, if it comes within FitKeptMs. A failure is reported once, after the paint, not from
// inside it.

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class ServerClock;
class StoredProc;

class ServerTime {
public:
    // report shows an error to the user; it is called from the event loop, never while painting.
    ServerTime(StoredProc& proc, std::function<void(const QString&)> report);

    std::optional<double> now();
    // From now on the time comes from `clock`, which asks this clock procedure only when it
    // has no reading yet.
    void carry(ServerClock& clock);

    static constexpr int FitKeptMs = 1000;

    // Marks a paint (or a fit of the grids to their rows): inside it the first answer of this
    // pass is reused.
    class PaintScope {
    public:
        enum class Kind { Paint, Fit };
        explicit PaintScope(ServerTime* time, Kind kind = Kind::Paint);
        ~PaintScope();
        PaintScope(const PaintScope&) = delete;
        PaintScope& operator=(const PaintScope&) = delete;

    private:
        ServerTime* m_time;
        bool m_fit;
    };

private:
    std::optional<double> read();
    void reportOnce(const QString& text);

    StoredProc& m_proc;
    ServerClock* m_clock = nullptr;
    std::function<void(const QString&)> m_report;
    int m_painting = 0;
    int m_fitting = 0;
    bool m_fetched = false; // m_time was read in the current paint pass
    bool m_forPaint = false; // ... by a fit, for the paint that follows it
    QElapsedTimer m_fitRead;
    QTimer m_passOver;      // a zero timer: the event loop has turned since the reading
    std::optional<double> m_time;
    bool m_failing = false; // a failure has been reported and no fetch has succeeded since
};
