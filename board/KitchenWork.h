#pragma once
// The kitchen's dishes in work: the open shift's lines of the served sections that are shown to
// the cooks and not yet ready, read in one request after a poll. From the last set it gives the
// all-day view (one row a dish name: how many across the orders, in how many orders, the minutes
// of the oldest and its urgency, and that dish's orders) and the lines that left the work since
// the poll before. With them the journal learns what the rest of the kitchen did: a line that
// left as ready and that no press of this monitor set ready was marked elsewhere; a line back in
// work that was ready was taken back elsewhere. When the open shift closes, or at midnight while
// it stays open, the shift's summary goes to the log in one line.

#include "BoardSql.h"
#include "Query.h"
#include "TimingColours.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <memory>
#include <optional>

class Form_Base;
class Journal;

class KitchenWork : public QObject {
    Q_OBJECT
public:
    struct Line {
        qint64 line = 0;
        qint64 order = 0;
        QString number; // the order's number
        QString table;  // the order's information text
        QString dish;
        int section = 0;
        double quantity = 0;
        QDateTime start; // START_TIME
        QDateTime due;   // the serving time, else START_TIME plus the cooking time; may be null
        qint64 minutes = 0; // whole minutes since START_TIME, by the server's clock
        std::optional<qint64> minutesLeft; // until due, negative when late; none without a due moment
        TimingColours::Urgency urgency = TimingColours::Urgency::None;
    };
    // One order's share of a dish.
    struct Order {
        qint64 order = 0;
        QString number;
        QString table;
        double quantity = 0;
        qint64 minutes = 0; // of its oldest line of the dish
        TimingColours::Urgency urgency = TimingColours::Urgency::None;
        QDateTime start; // of that line
    };
    // A row of the all-day view.
    struct Dish {
        QString dish;
        double quantity = 0;
        qint64 minutes = 0; // of the oldest line
        TimingColours::Urgency urgency = TimingColours::Urgency::None; // the oldest line's
        QList<Order> orders; // the oldest first
        QDateTime start; // of the oldest line
    };

    KitchenWork(Form_Base& base, Journal& journal, QObject* parent = nullptr);
    ~KitchenWork() override;

    // One reading after a poll, at the poll's time: the set replaced, the lines ready or taken
    // back elsewhere recorded, the shift's summary written when due. Database errors are thrown
    // and leave the set as it was.
    void refresh(const ServedSections& served, const QDateTime& now);

    const QList<Line>& lines() const { return m_lines; }
    // The lines of the last set that the one before did not have / the reverse.
    const QList<qint64>& came() const { return m_came; }
    const QList<Line>& left() const { return m_left; }

    // The most urgent dishes first, then the oldest.
    QList<Dish> allDay() const { return allDay(m_lines); }
    static QList<Dish> allDay(const QList<Line>& lines);

    // A line of the statement's rows; the open shifts' rows give none.
    static std::optional<Line> lineOf(const Query::Row& row);

signals:
    // Lines came or left, or a line's dish, quantity, order or urgency differs: what the all-day
    // view shows but its minutes, which turn on the server's clock between the readings.
    void changed();

private:
    QList<qint64> readyOf(const QList<Line>& lines);
    void summariseIfDue(const QList<qint64>& shifts, const QDateTime& now);

    Form_Base& m_base;
    Journal& m_journal;
    std::unique_ptr<Query> m_inWork;
    std::unique_ptr<Query> m_ready;
    QList<Line> m_lines;
    QList<qint64> m_came;
    QList<Line> m_left;
    bool m_read = false; // a set has been read: before it, nothing left
    std::optional<QList<qint64>> m_shifts; // open at the last reading
    QDate m_day;                            // of the last reading
};
