#pragma once
// The server's current time for the colours, from its clock procedure. While a grid paints, the
// time is fetched at most once, lazily, and shared by all its rows: painting must not make a
// round trip per cell. A failure is reported once, after the paint, not from inside it.

#include <QString>
#include <functional>
#include <optional>

class StoredProc;

class ServerTime {
public:
    // report shows an error to the user; it is called from the event loop, never while painting.
    ServerTime(StoredProc& proc, std::function<void(const QString&)> report);

    std::optional<double> now();

    // Marks a paint: inside it the first answer is reused.
    class PaintScope {
    public:
        explicit PaintScope(ServerTime* time);
        ~PaintScope();
        PaintScope(const PaintScope&) = delete;
        PaintScope& operator=(const PaintScope&) = delete;

    private:
        ServerTime* m_time;
    };

private:
    void reportOnce(const QString& text);

    StoredProc& m_proc;
    std::function<void(const QString&)> m_report;
    int m_painting = 0;
    bool m_fetched = false;
    std::optional<double> m_time;
    bool m_failing = false; // a failure has been reported and no fetch has succeeded since
};
