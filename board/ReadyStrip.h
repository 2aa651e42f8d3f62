#pragma once
// The strip that follows "Заказ полностью готов" on the board: for a while the order's number
// and a button that takes that press back. It remembers exactly the lines that the press set
// ready; a newer ready order replaces it.

#include <QFrame>
#include <QList>
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

    // Shows the strip for the order's number and the lines its press set ready, afresh.
    void offer(const QString& number, const QList<qint64>& lines);
    // Hides the strip and forgets the lines.
    void withdraw();
    const QList<qint64>& lines() const { return m_lines; }

    static constexpr int ShowMilliseconds = 15000;
    static QString text(const QString& number);
    static const QString UndoCaption;

protected:
    // The board is scaled to the screen: the text grows with the strip.
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<qint64> m_lines;
};
