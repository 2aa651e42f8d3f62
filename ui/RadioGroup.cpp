#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)), m_columns(qMax(1, columns))
{
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        m_group->addButton(button, i);
        m_items << button;
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit clicked(id);
    });
}

int RadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* button = m_group->button(index)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

void RadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    placeItems();
}

void RadioGroup::placeItems()
{
    // Items fill the space below the title row by row, so that they read in their order as a
    // line of text does: three items in two columns are "1 2" above "3".
    const int titleHeight = fontMetrics().height();
    const int margin = qMax(4, width() / 60);
    const QRect area(margin, titleHeight, width() - 2 * margin, height() - titleHeight - 2);
    const int rows = (int(m_items.size()) + m_columns - 1) / m_columns;
    if (rows == 0)
        return;
    const int columnWidth = area.width() / m_columns;
    const int rowHeight = area.height() / rows;
    for (int i = 0; i < m_items.size(); ++i) {
        const int column = i % m_columns;
        const int row = i / m_columns;
        m_items[i]->setGeometry(area.left() + column * columnWidth, area.top() + row * rowHeight,
                                columnWidth, rowHeight);
    }
}
