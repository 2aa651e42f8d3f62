#pragma once
// Keeps a touch from acting on what a window or box left under the finger. The second tap of a
// double tap that closed a window lands on whatever lay beneath it, and the first taps on a
// window just opened were meant for what was there before. So for half a second after any of
// the program's windows or boxes closed no window takes a touch, nor does a window or box in its
// first half second; a press that was refused takes its release with it. Keys are not touched.

#include <QDateTime>
#include <QHash>
#include <QObject>

class Clock;
class QWidget;

class TouchGuard : public QObject {
    Q_OBJECT
public:
    // Watches every window of the application from now on.
    explicit TouchGuard(const Clock& clock, QObject* parent = nullptr);
    ~TouchGuard() override;

    static constexpr int Milliseconds = 500;

    // Something under the finger went away without a window closing (a strip hidden by its own
    // button): touches wait as after a window closed.
    void underFingerChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool tooSoon(const QDateTime& since) const;
    bool refused(QWidget* target) const;

    const Clock& m_clock;
    QDateTime m_closed;                          // when a window last closed
    QHash<const QWidget*, QDateTime> m_opened;   // the windows shown, since when
    bool m_releaseRefused = false;
};
