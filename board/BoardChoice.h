#pragma once
// The order and the dish the cook has chosen at the board, by key or by a touch. Both are held
// by their keys, so a re-read of the board leaves the choice where it was; when the chosen order
// or dish has gone, the choice moves on to the one that followed it (the one before it when it
// was the last), and goes when nothing is left.

#include <QList>
#include <limits>
#include <optional>

class BoardChoice {
public:
    static constexpr int PageSize = 6;
    // A place of the list whose order was not read: the board reads the page and its
    // neighbours only. It is never chosen, and never taken for an order still listed.
    static constexpr qint64 Unknown = std::numeric_limits<qint64>::min();

    bool active() const { return m_order.has_value(); }
    std::optional<qint64> order() const { return m_order; }
    std::optional<qint64> dish() const { return m_dish; }
    // The chosen order's place in the list of orders, -1 without a choice.
    int orderIndex() const { return m_order ? int(m_orders.indexOf(*m_order)) : -1; }
    int dishIndex() const { return m_dish ? int(m_dishes.indexOf(*m_dish)) : -1; }
    void drop();

    // The board's orders on every page, in the board's order; Unknown where not read.
    void setOrders(const QList<qint64>& orders);
    // The chosen order's dishes as its panel lists them. A chosen order without a chosen dish
    // takes its first.
    void setDishes(const QList<qint64>& dishes);

    // The order at this place of the list, with its first dish once its dishes are known.
    void chooseOrderAt(int index);
    // A dish of the chosen order, by its key; nothing when it is not listed.
    void chooseDish(qint64 dish);
    // The first dish of the chosen order, as its panel lists them, that is one of these.
    void chooseFirstOf(const QList<qint64>& dishes);
    // One order or one dish further (step 1) or back (-1), stopping at the ends. Without a chosen
    // order the first order of the page is chosen (the last when going back).
    void stepOrder(int step, int pageFirst);
    void stepDish(int step, int pageFirst);

    // The first place (1-based) of the page that holds the order at this index.
    static int pageFirstOf(int index) { return index / PageSize * PageSize + 1; }

private:
    static std::optional<qint64> follower(const QList<qint64>& before, const QList<qint64>& now, qint64 gone);
    void chooseOnPage(bool last, int pageFirst);

    QList<qint64> m_orders;
    QList<qint64> m_dishes;
    std::optional<qint64> m_order;
    std::optional<qint64> m_dish;
};
