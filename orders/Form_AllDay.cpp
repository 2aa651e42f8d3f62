#include "Form_AllDay.h"
#include "TouchList.h"

#include "ButtonPictures.h"
#include "DesignFonts.h"
#include "DisplayMode.h"
#include "OrderWindow.h"
#include "ServerClock.h"

#include <QApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using Urgency = TimingColours::Urgency;

const QString Form_AllDay::Caption = u"Итого"_s;
const QString Form_AllDay::BackCaption = u"Все блюда"_s;

namespace {
struct Column {
    QString title;
    int share; // hundredths of the width
};
const Column DishColumns[] = {{u"Блюдо"_s, 58}, {u"Кол-во"_s, 14}, {u"Заказов"_s, 14}, {u"Мин."_s, 14}};
const Column OrderColumns[] = {{u"№ зак."_s, 18}, {u"Информация"_s, 54}, {u"Кол-во"_s, 14}, {u"Мин."_s, 14}};

QString quantityText(double quantity)
{
    return QString::number(quantity, 'g', 6);
}
}

Form_AllDay::Form_AllDay(AppState& state, DisplayMode& display, InputGate& gate, QWidget* parent)
    : DesignDialog(u"Form_AllDay"_s, Caption, QSize(600, 477), TitleButtons::CloseOnly, parent), m_gate(gate)
{
    Heading = new QLabel(this);
    Heading->setObjectName(u"Heading"_s);
    Heading->setGeometry(4, 0, 592, 28);
    Heading->setFont(DesignFonts::arial(16, true));
    G = new QTableWidget(0, 4, this);
    G->setObjectName(u"G"_s);
    G->setGeometry(0, 30, 600, 408);
    G->setFont(DesignFonts::arial(16));
    // Rows a finger can hit from a step away.
    TouchList::setUp(G, 34);
    G->setFocusPolicy(Qt::NoFocus);
    G->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    G->viewport()->installEventFilter(this);
    BtnBack = OrderWindow::button("BtnBack", BackCaption, {0, 440, 556, 37}, this);
    BtnExit = OrderWindow::pictureButton("BtnExit", ButtonPictures::icon(ButtonPictures::Picture::Exit),
                                         {558, 440, 42, 37}, this);
    scaleForScreen(state, display.screenSize());
    // Whole rows down to the grid's foot at every scale: the rows share what is left over.
    G->ensurePolished();
    const int room = G->height() - 2 * G->frameWidth() - G->horizontalHeader()->sizeHint().height();
    const int count = qMax(1, room / G->verticalHeader()->defaultSectionSize());
    G->verticalHeader()->setMinimumSectionSize(room / count);
    G->verticalHeader()->setDefaultSectionSize(room / count);
    setColumns();

    connect(BtnBack, &QPushButton::clicked, this, &Form_AllDay::BtnBackClick);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::reject);
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &Form_AllDay::fill);
}

void Form_AllDay::attach(KitchenWork& work, ServerClock& clock, Opener open)
{
    m_work = &work;
    m_clock = &clock;
    m_open = std::move(open);
    // It follows the polls: a reading that changed what it shows fills it again.
    connect(&work, &KitchenWork::changed, this, [this] {
        if (isVisible())
            fill();
    });
}

void Form_AllDay::setColumns()
{
    const auto& columns = m_dish.isEmpty() ? DishColumns : OrderColumns;
    // The names take what the figures leave, whether the rows need a scroll bar or not.
    const int named = m_dish.isEmpty() ? 0 : 1;
    QStringList titles;
    const int base = G->width();
    QHeaderView* header = G->horizontalHeader();
    for (int i = 0; i < 4; ++i) {
        titles << columns[i].title;
        header->setSectionResizeMode(i, i == named ? QHeaderView::Stretch : QHeaderView::Fixed);
        if (i != named)
            G->setColumnWidth(i, base * columns[i].share / 100);
    }
    G->setHorizontalHeaderLabels(titles);
    BtnBack->setEnabled(!m_dish.isEmpty());
    Heading->setText(m_dish.isEmpty() ? u"Блюда в работе"_s : m_dish + u": заказы"_s);
}

void Form_AllDay::showAllDay()
{
    m_dish.clear();
    setColumns();
    G->clearSelection();
    fill();
    m_tick.start();
    exec();
}

QList<Form_AllDay::Row> Form_AllDay::rows() const
{
    QList<Row> rows;
    if (!m_work)
        return rows;
    const QDateTime now = m_clock ? m_clock->now() : QDateTime();
    const auto minutes = [&](const QDateTime& start, qint64 read, Urgency urgency) {
        const qint64 m = now.isValid() ? ServerClock::minutesSince(start, now) : read;
        return (urgency == Urgency::Late ? u"!"_s : QString()) + QString::number(m);
    };
    const auto timed = [&](const QString& dish, qint64 order) {
        for (const KitchenWork::Line& line : m_work->lines())
            if (line.dish == dish && (order == 0 || line.order == order) && line.due.isValid())
                return true;
        return false;
    };
    for (const KitchenWork::Dish& dish : m_work->allDay()) {
        if (m_dish.isEmpty()) {
            rows << Row{0, dish.dish,
                        {dish.dish, quantityText(dish.quantity), QString::number(dish.orders.size()),
                         minutes(dish.start, dish.minutes, dish.urgency)},
                        dish.urgency, timed(dish.dish, 0)};
            continue;
        }
        if (dish.dish != m_dish)
            continue;
        for (const KitchenWork::Order& order : dish.orders)
            rows << Row{order.order, dish.dish,
                        {order.number, order.table, quantityText(order.quantity),
                         minutes(order.start, order.minutes, order.urgency)},
                        order.urgency, timed(dish.dish, order.order)};
    }
    return rows;
}

void Form_AllDay::fill()
{
    QList<Row> now = rows();
    // A dish no longer in work has no orders to list: back to the dishes.
    if (now.isEmpty() && !m_dish.isEmpty()) {
        m_dish.clear();
        setColumns();
        now = rows();
    }
    showRows(now);
}

void Form_AllDay::showRows(const QList<Row>& rows)
{
    // The chosen row stays on the same dish or order when the rows around it change.
    const int chosen = G->selectionModel()->selectedRows().isEmpty() ? -1 : G->selectionModel()->selectedRows().first().row();
    const std::optional<QPair<qint64, QString>> kept =
        chosen >= 0 && chosen < m_rows.size() ? std::optional(qMakePair(m_rows[chosen].order, m_rows[chosen].dish)) : std::nullopt;
    const bool sameRows = rows.size() == m_rows.size() && std::equal(rows.begin(), rows.end(), m_rows.begin(), [](const Row& a, const Row& b) {
        return a.order == b.order && a.dish == b.dish;
    });
    if (!sameRows) {
        G->clearContents();
        G->setRowCount(int(rows.size()));
    }
    for (int r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const bool bold = row.urgency != Urgency::None;
        const QColor colour = row.urgency == Urgency::Late ? TimingColours::Red
                              : row.urgency == Urgency::Due ? TimingColours::Maroon
                              : row.timed               ? TimingColours::Green
                                                        : TimingColours::Navy;
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem* item = G->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                G->setItem(r, c, item);
            }
            // Only what changed is set: a minute's turn repaints its cell alone.
            if (item->text() != row.cells[c])
                item->setText(row.cells[c]);
            if (item->foreground().color() != colour)
                item->setForeground(colour);
            if (item->font().bold() != bold) {
                QFont font = G->font();
                font.setBold(bold);
                item->setFont(font);
            }
            if (c > 0)
                item->setTextAlignment(c == 1 && !m_dish.isEmpty() ? (Qt::AlignLeft | Qt::AlignVCenter)
                                                                   : (Qt::AlignRight | Qt::AlignVCenter));
        }
    }
    m_rows = rows;
    if (!sameRows) {
        G->clearSelection();
        for (int r = 0; kept && r < m_rows.size(); ++r)
            if (m_rows[r].order == kept->first && m_rows[r].dish == kept->second)
                chooseRow(r);
    }
}

void Form_AllDay::chooseRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    G->selectRow(row);
    G->scrollTo(G->model()->index(row, 0));
}

void Form_AllDay::openRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const Row chosen = m_rows[row];
    if (chosen.order == 0) {
        m_dish = chosen.dish;
        setColumns();
        G->clearSelection();
        m_rows.clear();
        fill();
        return;
    }
    chooseRow(row);
    if (m_open)
        m_open(chosen.order, chosen.dish);
    // What the order's window did comes with the next poll; the minutes are brought up now.
    fill();
}

void Form_AllDay::BtnBackClick()
{
    const QString from = std::exchange(m_dish, QString());
    setColumns();
    m_rows.clear();
    fill();
    // Back on the dish that was open, so that the next one is a key away.
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].dish == from)
            chooseRow(r);
}

BrowseKeys Form_AllDay::keys()
{
    BrowseKeys keys;
    auto chosen = [this] {
        const QModelIndexList rows = G->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    };
    keys.step = [this, chosen](int step) {
        if (m_rows.isEmpty())
            return;
        const int row = chosen();
        // With no row chosen the keys start at an end.
        chooseRow(row < 0 ? (step > 0 ? 0 : int(m_rows.size()) - 1) : qBound(0, row + step, int(m_rows.size()) - 1));
    };
    keys.open = [this, chosen] { openRow(chosen()); };
    keys.back = [this] {
        if (!m_dish.isEmpty())
            BtnBackClick();
    };
    keys.close = [this] { reject(); };
    return keys;
}

void Form_AllDay::closeAtRest()
{
    if (isVisible() && QApplication::activeModalWidget() == this)
        reject();
}

std::optional<InputGate::TouchTarget> Form_AllDay::targetAt(QPoint position) const
{
    const int row = G->rowAt(position.y());
    if (row < 0 || row >= m_rows.size())
        return std::nullopt;
    return InputGate::TouchTarget{m_rows[row].order, {DbValue::text(m_rows[row].dish)}};
}

bool Form_AllDay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == G->viewport() && event->type() == QEvent::MouseButtonPress)
        m_gate.touchPressed(G, targetAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
    if (watched == G->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        // A poll may have changed the rows under a resting finger: then the release opens nothing.
        const std::optional<InputGate::TouchTarget> target = targetAt(at);
        if (m_gate.touchReleased(G, target) && target)
            openRow(G->rowAt(at.y()));
        return true;
    }
    return DesignDialog::eventFilter(watched, event);
}

void Form_AllDay::hideEvent(QHideEvent* event)
{
    m_tick.stop();
    DesignDialog::hideEvent(event);
}
