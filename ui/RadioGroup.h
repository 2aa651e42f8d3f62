#pragma once
// A titled frame of radio buttons laid out in columns, selected by item index.

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent);

    int itemIndex() const;           // -1 when nothing is selected
    void setItemIndex(int index);    // out-of-range clears the selection
    QRadioButton* item(int index) const { return m_items.value(index); }
    int count() const { return int(m_items.size()); }

signals:
    // The selection changed, by the user or from code.
    void clicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeItems();
    QButtonGroup* m_group;
    QList<QRadioButton*> m_items;
    int m_columns;
};
