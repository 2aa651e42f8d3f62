#include "OrderBoard.h"

#include "AppState.h"
#include "DataGrid.h"
#include "Form_Base.h"
#include "QueryModel.h"
#include "ServerTime.h"
#include "Settings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPalette>
#include <QPushButton>

using namespace Qt::StringLiterals;

OrderBoard::OrderBoard(AppState& state, Settings& settings, const Widgets& widgets)
    : m_state(state), m_settings(settings), m_w(widgets)
{
}

OrderBoard::~OrderBoard() = default;

void OrderBoard::attach(Form_Base& base, ServerTime& time)
{
    m_base = &base;
    m_list = std::make_unique<Query>(base.MyDB, base.TransactionRead);
    m_page = std::make_unique<Query>(base.MyDB, base.TransactionRead);
    for (size_t i = 0; i < 6; ++i) {
        m_queries[i] = std::make_unique<Query>(base.MyDB, base.TransactionRead);
        auto* model = qobject_cast<QueryModel*>(m_w.grids[i]->model());
        if (!model)
            continue;
        model->colours = [&time](const Query& q, int row) {
            return TimingColours::panel(QueryModel::timing(q, row), [&time] { return time.now(); });
        };
        model->lineFields = {u"KOD"_s};
        model->timeFreeColours = [](const TimingColours::Line& line) {
            return TimingColours::withoutServerTime(TimingColours::panel, line);
        };
        model->minutes = [&time](const Query& q, int row) {
            return TimingColours::panelMinutes(QueryModel::timing(q, row), [&time] { return time.now(); });
        };
        model->setQuery(m_queries[i].get());
        m_models[i] = model;
        if (auto* grid = qobject_cast<DataGrid*>(m_w.grids[i]))
            grid->setServerTime(&time);
    }
}

ServedSections OrderBoard::served() const
{
    ServedSections s{};
    for (size_t i = 0; i < 5; ++i)
        s[i] = m_w.sections[i]->isChecked();
    return s;
}

// While the connection is lost the board keeps its last rows and the red strip says why; the
// polling re-reads the board once it has attached again.
void OrderBoard::RefreshOrderList()
{
    m_listed.read = false;
    if (!m_state.FormsReady || !m_base || !m_base->MyDB.connected())
        return;
    readList(m_state.PageFirst);
}

void OrderBoard::readList(int first)
{
    Query& q = *m_list;
    const std::pair<bool, ServedSections> textFor{AllOrders, served()};
    if (m_listed.textFor != textFor) {
        m_listed.text = BoardSql::orderPage(AllOrders, textFor.second); // built once for each choice
        m_listed.textFor = textFor;
    }
    q.close();
    q.setSql(m_listed.text);
    q.setParam(u"LO"_s, DbValue::integer(first - 1));
    q.setParam(u"HI"_s, DbValue::integer(first + BoardSql::PagePanels));
    q.setParam(u"C"_s, m_choice.order() ? DbValue::integer(*m_choice.order()) : DbValue());
    q.prepare();
    q.open();
    m_listed.at.clear();
    m_listed.count = 0;
    const int key = q.fieldIndex(u"KOD"_s), place = q.fieldIndex(u"P"_s), all = q.fieldIndex(u"N"_s);
    for (int r = 0; r < q.recordCount(); ++r) {
        q.setRecNo(r);
        m_listed.count = int(q.row(r)[size_t(all)].toInt64().value_or(0));
        m_listed.at[int(q.row(r)[size_t(place)].toInt64().value_or(0)) - 1] = {
            q.row(r)[size_t(key)].toInt64().value_or(0),
            q.asString(u"FIO"_s).value_or(QString()) + u", № "_s + q.asString(u"NUMBER_ZAKAZ"_s).value_or(QString())
                + u", "_s + q.asString(u"INFO_ZAKAZ"_s).value_or(QString())};
    }
    q.first();
    m_listed.read = true;
}

bool OrderBoard::holdsPage(int first) const
{
    for (int i = first - 1; i < std::min(first - 1 + BoardSql::PagePanels, m_listed.count); ++i)
        if (!m_listed.at.contains(i))
            return false;
    return true;
}

int OrderBoard::settlePage()
{
    // The chosen order stays in sight wherever the re-read list has put it.
    m_choice.setOrders(orderKeys());
    int first = m_state.PageFirst;
    if (m_choice.active() && m_choice.orderIndex() >= 0)
        first = BoardChoice::pageFirstOf(m_choice.orderIndex());
    // A page that no longer exists shows nothing true: step back to the last page that does.
    while (first > 1 && m_listed.count < first)
        first -= BoardSql::PagePanels;
    return first;
}

void OrderBoard::freePanels(int from)
{
    for (int i = from; i < 6; ++i) {
        m_w.grids[size_t(i)]->hide();
        m_orders[size_t(i)] = 0;
        if (m_queries[size_t(i)])
            m_queries[size_t(i)]->close();
        m_w.panels[size_t(i)]->setTitle(QString());
    }
}

void OrderBoard::FillPage()
{
    if (!m_state.FormsReady || !m_base || !m_base->MyDB.connected())
        return;
    if (!m_listed.read)
        readList(m_state.PageFirst);
    int first = settlePage();
    // The page has moved beyond what was read (the choice stepped off it, the list shrank).
    if (!holdsPage(first)) {
        readList(first);
        first = settlePage();
    }
    m_state.PageFirst = first;
    const int count = m_listed.count;
    if (count == 0) {
        freePanels(0);
        showPageCounts(0);
        m_choice.setOrders({});
        showChoice();
        return;
    }
    const ServedSections sections = served();
    std::vector<Listed> page;
    for (int i = first - 1; int(page.size()) < BoardSql::PagePanels && i < count; ++i)
        if (const auto listed = m_listed.at.find(i); listed != m_listed.at.end())
            page.push_back(listed->second);

    // One request for the page; a failing one leaves the panels as they were. The text keeps
    // its prepared statement from page to page: only the keys change.
    Query& lines = *m_page;
    if (m_textsServed != sections) {
        // Built once for each choice of sections, not at every page.
        m_pageText = BoardSql::pageLines(sections);
        m_panelText = BoardSql::panelLines(sections);
        m_textsServed = sections;
    }
    lines.setSql(m_pageText);
    for (int i = 0; i < BoardSql::PagePanels; ++i)
        lines.setParam(u"K%1"_s.arg(i + 1),
                       i < int(page.size()) ? DbValue::integer(page[size_t(i)].key) : DbValue());
    lines.open();
    std::array<std::vector<Query::Row>, 6> rows;
    const int order = lines.fieldIndex(u"KOD_ZAKAZ"_s);
    for (int r = 0; r < lines.recordCount(); ++r)
        for (size_t i = 0; i < page.size(); ++i)
            if (lines.row(r)[size_t(order)].toInt64() == page[i].key) {
                rows[i].push_back(lines.row(r));
                break;
            }
    const QStringList fields = lines.fieldNames();
    lines.close();

    int filled = 0;
    for (; filled < int(page.size()); ++filled) {
        const size_t i = size_t(filled);
        // The panel keeps its own order's text: the detail window reads the order with it, its
        // key bound as :K.
        Query& panel = *m_queries[i];
        m_orders[i] = page[i].key;
        panel.setSql(m_panelText);
        panel.setParam(u"K"_s, DbValue::integer(m_orders[i]));
        panel.setRows(fields, std::move(rows[i]));
        m_w.panels[i]->setTitle(page[i].caption);
        m_w.grids[i]->show();
    }
    freePanels(filled);
    showPageCounts(count);
    showChoice();
}

QString OrderBoard::caption(const QString& waiter, const QString& number, const QString& table)
{
    return waiter + u", № "_s + number + u", "_s + table;
}

QString OrderBoard::captionOf(qint64 order) const
{
    if (!m_list)
        return QString();
    const Query& list = *m_list;
    const int key = list.fieldIndex(u"KOD"_s);
    for (int r = 0; list.isOpen() && key >= 0 && r < list.recordCount(); ++r) {
        if (list.row(r)[size_t(key)].toInt64() != order)
            continue;
        const auto text = [&](const QString& field) {
            const int column = list.fieldIndex(field);
            return column < 0 ? QString() : list.row(r)[size_t(column)].toText().value_or(QString());
        };
        return caption(text(u"FIO"_s), text(u"NUMBER_ZAKAZ"_s), text(u"INFO_ZAKAZ"_s));
    }
    return QString();
}

// New orders land on later pages: the paging buttons tell the cook how many wait each way.
void OrderBoard::showPageCounts(int count)
{
    const int before = count > 0 ? m_state.PageFirst - 1 : 0;
    const int after = qMax(0, count - (m_state.PageFirst + 5));
    m_w.BtnPrev->setText(before > 0 ? u"+%1"_s.arg(before) : QString());
    m_w.BtnNext->setText(after > 0 ? u"+%1"_s.arg(after) : QString());
}

// A page turned by its buttons reads the new page at once, with the order list's count.
void OrderBoard::BtnNextClick()
{
    if (!m_base || !m_base->MyDB.connected())
        return; // the page would turn unseen
    readList(m_state.PageFirst + BoardSql::PagePanels);
    if (orderCount() >= m_state.PageFirst + BoardSql::PagePanels)
        m_state.PageFirst += BoardSql::PagePanels;
    if (m_choice.active()) {
        m_choice.setOrders(orderKeys());
        m_choice.chooseOrderAt(m_state.PageFirst - 1);
    }
    FillPage();
}

void OrderBoard::BtnPrevClick()
{
    if (m_state.PageFirst == 1 || !m_base || !m_base->MyDB.connected())
        return;
    readList(std::max(1, m_state.PageFirst - BoardSql::PagePanels));
    do
        m_state.PageFirst -= BoardSql::PagePanels;
    while (m_state.PageFirst > 1 && orderCount() < m_state.PageFirst);
    if (m_choice.active()) {
        m_choice.setOrders(orderKeys());
        m_choice.chooseOrderAt(m_state.PageFirst - 1);
    }
    FillPage();
}

void OrderBoard::CB_S1Click()
{
    if (!m_state.FormsReady)
        return;
    QStringList lines;
    const ServedSections sections = served();
    for (int i = 0; i < 5; ++i)
        if (sections[size_t(i)])
            lines << QString::number(i + 1);
    m_settings.write(Settings::Key::Sections, lines.join(u'\n'));
    RefreshOrderList();
    FillPage();
}

void OrderBoard::BtnAllClick()
{
    AllOrders = !AllOrders;
    m_w.BtnAll->setText(AllOrders ? UnfulfilledCaption : AllCaption);
    RefreshOrderList();
    FillPage();
}

QList<qint64> OrderBoard::orderKeys() const
{
    QList<qint64> keys(m_listed.count, BoardChoice::Unknown);
    for (const auto& [place, listed] : m_listed.at)
        if (place >= 0 && place < keys.size())
            keys[place] = listed.key;
    return keys;
}

int OrderBoard::chosenPanel() const
{
    if (!m_choice.active())
        return -1;
    for (int i = 0; i < 6; ++i)
        if (m_orders[size_t(i)] == *m_choice.order() && m_w.grids[size_t(i)]->isVisibleTo(m_w.panels[size_t(i)]))
            return i;
    return -1;
}

void OrderBoard::choosePanel(int panel, std::optional<qint64> dish)
{
    if (panel < 0 || panel >= 6 || m_orders[size_t(panel)] == 0)
        return;
    m_choice.chooseOrderAt(m_state.PageFirst - 1 + panel);
    showChoice();
    if (dish) {
        m_choice.chooseDish(*dish);
        showChoice();
    }
}

void OrderBoard::chooseOrder(qint64 order, const QList<qint64>& dishes)
{
    const QList<qint64> keys = orderKeys();
    const qsizetype at = keys.indexOf(order);
    if (at < 0)
        return;
    m_choice.setOrders(keys);
    m_choice.chooseOrderAt(int(at));
    followChoice();
    if (!dishes.isEmpty()) {
        m_choice.chooseFirstOf(dishes);
        showChoice();
    }
}

void OrderBoard::stepOrder(int step)
{
    m_choice.stepOrder(step, m_state.PageFirst);
    followChoice();
}

void OrderBoard::stepDish(int step)
{
    m_choice.stepDish(step, m_state.PageFirst);
    followChoice();
}

// The page turns when the choice has left it.
void OrderBoard::followChoice()
{
    if (m_choice.active() && BoardChoice::pageFirstOf(m_choice.orderIndex()) != m_state.PageFirst)
        FillPage();
    else
        showChoice();
}

void OrderBoard::dropChoice()
{
    m_choice.drop();
    m_frames.hide();
}

void OrderBoard::showChoice()
{
    const int panel = chosenPanel();
    if (panel < 0) {
        m_frames.hide();
        return;
    }
    const Query& lines = *m_queries[size_t(panel)];
    QList<qint64> dishes;
    const int kod = lines.isOpen() ? lines.fieldIndex(u"KOD"_s) : -1;
    for (int i = 0; kod >= 0 && i < lines.recordCount(); ++i)
        dishes << lines.row(i)[size_t(kod)].toInt64().value_or(0);
    m_choice.setDishes(dishes);
    m_frames.show(m_w.panels[size_t(panel)], m_w.grids[size_t(panel)], m_choice.dishIndex());
}
