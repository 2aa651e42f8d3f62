#pragma once
// The age of every order on the board: beside each panel's caption, in the caption's own size,
// the whole minutes since the order's first dish in the served sections reached the kitchen
// ("27 мин"), coloured by the order's most urgent dish with the board's cues (bold once a dish
// is due, bold and "!" once one is late). The caption's text is left alone: the order's window
// takes it as its own. The ages turn with the minutes between the polls, from the server's
// clock as last read, without a request of their own.

#include "TimingColours.h"

#include <QColor>
#include <QFont>
#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <array>
#include <optional>

class OrderBoard;
class Query;
class QGroupBox;
class QLabel;
class ServerClock;

class PanelAges : public QObject {
    Q_OBJECT
public:
    struct Age {
        qint64 minutes = 0;
        TimingColours::Urgency urgency = TimingColours::Urgency::None;
        QColor colour;
        bool operator==(const Age&) const = default;
    };
    // The age of the order whose panel lines these are, at the server's time `now`; nothing
    // for a panel without lines.
    static std::optional<Age> of(const Query& lines, const QDateTime& now);
    // The milliseconds from `now` until the age of the order whose panel lines these are turns
    // next; nothing for a panel without lines.
    static std::optional<qint64> msToNextTurn(const Query& lines, const QDateTime& now);
    // "27 мин"; "!27 мин" when late.
    static QString text(const Age& age);
    // The widest age the caption line keeps room for: a late order of two figures of minutes.
    static inline const QString WidestText = QStringLiteral("!99 мин");
    // Whether a caption in this font and the widest age, in bold after a gap, fit across a
    // panel this wide, inside its frame.
    static bool fitsBeside(const QFont& caption, const QString& text, int width);

    PanelAges(const OrderBoard& board, const std::array<QGroupBox*, 6>& panels, ServerClock& clock,
              QObject* parent = nullptr);

    // The ages of the panels as they are now.
    void update();
    QLabel* label(int panel) const { return m_labels[size_t(panel)]; }

private:
    void place(int panel);

    const OrderBoard& m_board;
    std::array<QGroupBox*, 6> m_panels;
    ServerClock& m_clock;
    std::array<QLabel*, 6> m_labels{};
    QTimer m_tick; // at the next turn of an age or a colour, between the polls
    bool m_queued = false;
};
