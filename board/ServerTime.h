#pragma once
// The server's current time for the colours, from its clock procedure. A paint of the board
// fetches it at most once, lazily, and shares it among all the rows of all the grids painted in
// that pass: painting must not make a round trip per cell or per grid. The reading is dropped
// when the event loop turns, so the next paint asks again; but a reading taken to fit the
// grids to new rows serves the paint those rows bring, at the next turn, if it comes within
// FitKeptMs: a page change reads the server's time once. A failure is reported once, after
// the paint, not from inside it.

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class StoredProc;

class ServerTime {
public:
    // report shows an error to the user; it is called from the event loop, never while painting.
    ServerTime(StoredProc& proc, std::function<void(const QString&)> report);

    std::optional<double> now();

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
    void reportOnce(const QString& text);

    StoredProc& m_proc;
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
