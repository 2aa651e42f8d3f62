#pragma once
// How long the GUI thread was kept from its event loop: the gaps of a 20 ms heartbeat on it.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

struct Freezes {
    Freezes()
    {
        beat.setInterval(20);
        QObject::connect(&beat, &QTimer::timeout, [this] {
            const qint64 gap = clock.restart();
            longest = std::max(longest, gap);
            if (gap > 1000)
                ++count;
        });
    }
    void reset()
    {
        longest = 0;
        count = 0;
        clock.start();
        beat.start();
    }
    QTimer beat;
    QElapsedTimer clock;
    qint64 longest = 0;
    int count = 0; // freezes over a second
};
