#pragma once
// The one road for a cook's press, by touch or by key: a dish or an order set ready, a dish or
// an order taken back from its window, the strip's "Отменить", the recall list's take-back.
// Each kind is one call that writes the point of sale's lines, writes the journal in the same
// step, keeps the states before in the record of presses, and then says what happened. The
// windows only ask and listen: the strip, the recall list, the order window and the board keep
// no press of their own.
//
// A call that fails throws the error (DbError for the server's) after failed(); nothing is
// recorded then. Asking the cook, boxes and re-reading the board are the windows' part.

#include "BoardSql.h"
#include "Journal.h"
#include "PressSql.h"
#include "ReadyRecord.h"

#include <QObject>
#include <array>
#include <optional>

class Form_Base;

class PressService : public QObject {
    Q_OBJECT
public:
    using Line = ReadyRecord::Line;
    using Press = ReadyRecord::Press;

    PressService(Form_Base& base, Journal& journal, QObject* parent = nullptr);

    // An order's lines in the served sections as the point of sale has them now, read just
    // before a press: the order's number, and each line with its present state as `before`.
    struct OrderLines {
        QString number;
        QList<Line> lines;
        QList<Line> in(LineState state) const;
        std::optional<Line> line(qint64 key) const;
    };

    // The record as the journal has it, at the start.
    void seed(const QDateTime& now);

    // Database errors are thrown.
    OrderLines readServed(qint64 order, const ServedSections& served) const;

    // "Блюдо готово": the line (with its present state) set ready.
    void dishReady(qint64 order, const QString& number, const Line& line);
    // "Заказ полностью готов": the order's shown lines in the served sections set ready; `shown`
    // are those lines as read just before, the ones the press changes. The press is offered back
    // (offered()) until one of its lines goes back, a newer order press comes, or dropOffer().
    Press orderReady(qint64 order, const QString& number, const QList<Line>& shown,
                     const std::array<bool, 5>& served);
    // "Вернуть в работу" on a ready dish: back to its state before this monitor's press.
    void dishBack(qint64 line, const QString& dish);
    // What "Вернуть заказ в работу" returns of the order's ready lines: those of this monitor's
    // press that made it ready, each to its state before; without such a press every ready line,
    // to shown.
    QList<Line> orderBackLines(qint64 order, const QList<Line>& ready) const;
    void orderBack(const QList<Line>& lines);
    // The strip's "Отменить": the offered order press taken back. False when none is offered.
    bool undo();
    // The recall list's entry taken back, each line still ready to its state before.
    QList<Line> recall(const Journal::Press& entry);

    // The order press the strip offers back, while it may.
    const std::optional<Press>& offered() const { return m_offered; }
    // The strip's time is up: the press is no longer offered.
    void dropOffer();

    LineState stateBefore(qint64 line) const { return m_record.stateBefore(line); }
    const ReadyRecord& record() const { return m_record; }
    Journal& journal() const { return m_journal; }

    // A journal entry's lines as the record keeps them.
    static QList<Line> entryLines(const Journal::Press& entry);

signals:
    // Lines were set ready (DishReady or OrderReady).
    void pressed(Journal::Kind kind, const ReadyRecord::Press& press);
    // Lines went back (DishBack, OrderBack, Undo or Recall).
    void takenBack(Journal::Kind kind, const QList<ReadyRecord::Line>& lines);
    // The strip's offer ended: taken back, by whatever road, or its time up.
    void offerEnded();
    // A press's write failed with this error; the call throws it on.
    void failed(Journal::Kind kind, const QString& error);

private:
    void write(Journal::Kind kind, const QList<Line>& lines, const PressSql::Statement& statement);
    void takeBack(Journal::Kind kind, const QList<Line>& lines);

    Form_Base& m_base;
    Journal& m_journal;
    ReadyRecord m_record;
    std::optional<Press> m_offered;
};
