#pragma once
// The strip that follows "Заказ полностью готов" on the board: for a while the order's number
// and a button that takes that press back. The press itself is the press service's: the strip
// only shows that one is offered, and says when its time is up.

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

    // Shows the strip for the order's press, afresh.
    void offer(const QString& number);
    // Hides the strip.
    void withdraw();
    bool offering() const { return m_offering; }

    static constexpr int ShowMilliseconds = 15000;
    static QString text(const QString& number);
    static const QString UndoCaption;

signals:
    // The strip went away while it offered a press: its time was up, or it was withdrawn.
    void withdrawn();

protected:
    // The board is scaled to the screen: the text grows with the strip.
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_offering = false;
};
