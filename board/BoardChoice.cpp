#include "BoardChoice.h"

#include <algorithm>

void BoardChoice::drop()
{
    m_order.reset();
    m_dish.reset();
    m_dishes.clear();
}

std::optional<qint64> BoardChoice::follower(const QList<qint64>& before, const QList<qint64>& now, qint64 gone)
{
    const qsizetype at = before.indexOf(gone);
    for (qsizetype i = at + 1; at >= 0 && i < before.size(); ++i)
        if (before[i] != Unknown && now.contains(before[i]))
            return before[i];
    for (qsizetype i = at - 1; i >= 0; --i)
        if (before[i] != Unknown && now.contains(before[i]))
            return before[i];
    for (qsizetype i = now.size() - 1; i >= 0; --i)
        if (now[i] != Unknown)
            return now[i];
    return std::nullopt;
}

void BoardChoice::setOrders(const QList<qint64>& orders)
{
    if (m_order && !orders.contains(*m_order)) {
        m_order = follower(m_orders, orders, *m_order);
        m_dish.reset();
        m_dishes.clear();
    }
    m_orders = orders;
}

void BoardChoice::setDishes(const QList<qint64>& dishes)
{
    if (!m_order)
        return;
    if (m_dish && !dishes.contains(*m_dish))
        m_dish = follower(m_dishes, dishes, *m_dish);
    if (!m_dish && !dishes.isEmpty())
        m_dish = dishes.first();
    m_dishes = dishes;
}

void BoardChoice::chooseOrderAt(int index)
{
    if (index < 0 || index >= m_orders.size() || m_orders[index] == Unknown)
        return;
    if (m_order == m_orders[index])
        return;
    m_order = m_orders[index];
    m_dish.reset();
    m_dishes.clear();
}

void BoardChoice::chooseDish(qint64 dish)
{
    if (m_order && m_dishes.contains(dish))
        m_dish = dish;
}

void BoardChoice::chooseFirstOf(const QList<qint64>& dishes)
{
    const auto first = std::find_if(m_dishes.cbegin(), m_dishes.cend(), [&](qint64 d) { return dishes.contains(d); });
    if (m_order && first != m_dishes.cend())
        m_dish = *first;
}

void BoardChoice::chooseOnPage(bool last, int pageFirst)
{
    const int first = std::clamp(pageFirst - 1, 0, int(m_orders.size()));
    const int end = std::min(first + PageSize, int(m_orders.size()));
    if (end > first)
        chooseOrderAt(last ? end - 1 : first);
}

void BoardChoice::stepOrder(int step, int pageFirst)
{
    if (!m_order) {
        chooseOnPage(step < 0, pageFirst);
        return;
    }
    chooseOrderAt(std::clamp(orderIndex() + step, 0, int(m_orders.size()) - 1));
}

void BoardChoice::stepDish(int step, int pageFirst)
{
    if (!m_order) {
        chooseOnPage(false, pageFirst);
        return;
    }
    if (m_dishes.isEmpty())
        return;
    m_dish = m_dishes[std::clamp(dishIndex() + step, 0, int(m_dishes.size()) - 1)];
}
