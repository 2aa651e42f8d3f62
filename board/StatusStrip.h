#pragma once
// A red strip across the board that tells the cooks, without stopping anything, that the polling
// fails: a headline legible from across the kitchen and the server's own text under it. It
// takes no clicks and no focus; it goes away when the polling works again.

#include <QFrame>

class QLabel;

// The look the board's strips share: a raised panel of one colour with white text.
void paintStrip(QFrame& strip, const QColor& background);

class StatusStrip : public QFrame {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget* parent = nullptr);

    // An empty headline hides the strip.
    void showProblem(const QString& headline, const QString& detail);
    QString headline() const;
    QString detail() const;

private:
    QLabel* m_headline;
    QLabel* m_detail;
};
