#pragma once
// The order pages of the board: the order list of the served sections, six orders a page, each
// in a panel of its own with its dishes; paging, the section filter and the mode. Of the list
// only the page is read, with its neighbours on either side, the chosen order wherever it is,
// and the number of all: the choice steps across a page's edge without another read.

#include "BoardChoice.h"
#include "BoardSql.h"
#include "ChoiceFrames.h"

#include <QString>
#include <array>
#include <map>
#include <memory>
#include <optional>

struct AppState;
class Form_Base;
class Query;
class QueryModel;
class ServerTime;
class Settings;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QTableView;

class OrderBoard {
public:
    struct Widgets {
        std::array<QGroupBox*, 6> panels;
        std::array<QTableView*, 6> grids;
        std::array<QCheckBox*, 5> sections;
        QPushButton* BtnAll;
        QPushButton* BtnPrev; // show how many orders precede and follow the page
        QPushButton* BtnNext;
    };

    OrderBoard(AppState& state, Settings& settings, const Widgets& widgets);
    ~OrderBoard();

    // Binds the panels to the database once the data module exists.
    void attach(Form_Base& base, ServerTime& time);

    bool AllOrders = false;
    Query* panelQuery(int panel) const { return m_queries[size_t(panel)].get(); }
    // The orders of the open shifts that the board pages through, as far as they were read:
    // the page, its neighbours and the chosen order (see BoardSql::orderPage).
    const Query* orderList() const { return m_list.get(); }
    // The number of all orders of the list.
    int orderCount() const { return m_listed.count; }
    QueryModel* panelModel(int panel) const { return m_models[size_t(panel)]; }
    // The key of the order that the panel shows.
    qint64 panelOrder(int panel) const { return m_orders[size_t(panel)]; }

    ServedSections served() const;
    // A panel's caption: the waiter, the order's number and its table.
    static QString caption(const QString& waiter, const QString& number, const QString& table);
    // The caption of an order of the order list; empty when the list does not hold it.
    QString captionOf(qint64 order) const;

    // Both do nothing until every window exists. Database errors are thrown.
    void RefreshOrderList();
    void FillPage();

    void BtnNextClick();
    void BtnPrevClick();
    void CB_S1Click(); // for all five boxes: rewrites the section file, then refreshes
    void BtnAllClick();

    // The cook's choice of an order and a dish, from the keys or a touch. The page follows the
    // chosen order; a page turned by its buttons takes the choice to its first order.
    const BoardChoice& choice() const { return m_choice; }
    const ChoiceFrames& choiceFrames() const { return m_frames; }
    void choosePanel(int panel, std::optional<qint64> dish = std::nullopt);
    // The order with this key, on whichever page it is, and that page shown; nothing when the
    // board does not list it. Its dish chosen is the first that its panel lists of `dishes`,
    // else its first.
    void chooseOrder(qint64 order, const QList<qint64>& dishes = {});
    void stepOrder(int step);
    void stepDish(int step);
    void dropChoice();
    // The panel of the chosen order, -1 when none.
    int chosenPanel() const;

    static inline const QString AllCaption = QStringLiteral("Все");
    static inline const QString UnfulfilledCaption = QStringLiteral("Неисп.");

private:
    // Reads the list's places first-1 to first+6 and the chosen order.
    void readList(int first);
    // Whether what was read holds every order of the page that starts at first.
    bool holdsPage(int first) const;
    // The page the board shows now: where the choice is, and never past the list's end.
    int settlePage();
    void freePanels(int from);
    void showPageCounts(int count);
    // The list's keys by place, BoardChoice::Unknown where they were not read.
    QList<qint64> orderKeys() const;
    void followChoice();
    void showChoice();

    AppState& m_state;
    Settings& m_settings;
    Widgets m_w;
    Form_Base* m_base = nullptr;
    std::array<std::unique_ptr<Query>, 6> m_queries;
    std::unique_ptr<Query> m_list; // the order list's page
    struct Listed {
        qint64 key = 0;
        QString caption;
    };
    struct {
        bool read = false; // false: the next FillPage reads the list again
        int count = 0;
        std::map<int, Listed> at; // by place, 0-based
        std::optional<std::pair<bool, ServedSections>> textFor; // the mode and sections of the text
        QStringList text;
    } m_listed;
    std::optional<ServedSections> m_textsServed; // the sections the two texts below were built for
    QStringList m_pageText, m_panelText;
    std::unique_ptr<Query> m_page; // the six panels' lines in one request
    std::array<QueryModel*, 6> m_models{};
    std::array<qint64, 6> m_orders{};
    BoardChoice m_choice;
    ChoiceFrames m_frames;
};
