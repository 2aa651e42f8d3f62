#pragma once
// How the board shows the cook's choice: a thick frame round the chosen order's panel and a
// thinner one round the chosen dish inside it, in a colour that no urgency uses. Frames only:
// the dish's own colours stay in sight. Each frame lies in the widget it marks, so the hot queue
// stretched over the panels covers it too, and takes no touch.

#include <QColor>
#include <QPointer>

class QGroupBox;
class QTableView;
class QWidget;

class ChoiceFrames {
public:
    static inline const QColor Colour{0, 120, 255};

    ChoiceFrames();
    ~ChoiceFrames();

    // Frames the panel's grid and, for a row of its grid (-1: none), that row, scrolled into sight.
    void show(QGroupBox* panel, QTableView* grid, int row);
    void hide();
    // The frames themselves, for a look at them; null until first shown.
    QWidget* orderFrame() const { return m_order; }
    QWidget* dishFrame() const { return m_dish; }

private:
    QPointer<QWidget> m_order;
    QPointer<QWidget> m_dish;
};
