#pragma once
// The strip that follows "Заказ полностью готов" on the board: for a while the order's number
// and a button that takes that press back. It remembers exactly the lines that the press set
// ready; a newer ready order replaces it.

#include "ReadyRecord.h"

#include <QFrame>
#include <QTimer>

class QLabel;
class QPushButton;

class ReadyStrip : public QFrame {
    Q_OBJECT
public:
    explicit ReadyStrip(QWidget* parent = nullptr);

    QLabel* Label;
    QPushButton* BtnUndo; // "Отменить"
    QTimer TimerReady;    // how long the press can be taken back

    // Shows the strip for the press, afresh.
    void offer(const ReadyRecord::Press& press);
    // Hides the strip and forgets the press.
    void withdraw();
    const ReadyRecord::Press& press() const { return m_press; }

    static constexpr int ShowMilliseconds = 15000;
    static QString text(const QString& number);
    static const QString UndoCaption;

protected:
    // The board is scaled to the screen: the text grows with the strip.
    void resizeEvent(QResizeEvent* event) override;

private:
    ReadyRecord::Press m_press;
};
