#include "Form_Ready.h"
#include "TouchList.h"

#include "ButtonPictures.h"
#include "Clock.h"
#include "CookAction.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_Detail.h"
#include "OrderWindow.h"
#include "PressService.h"
#include "RecallList.h"

#include <QHeaderView>
#include <QHideEvent>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

const QString Form_Ready::Caption = u"Готовые заказы"_s;
const QString Form_Ready::BackCaption = u"Вернуть в работу"_s;
const QString Form_Ready::NoJournal = u"Журнал монитора недоступен: список готовых заказов пуст."_s;

namespace {
// Titles and shares of the width in hundredths.
const std::pair<QString, int> Columns[] = {
    {u"Время"_s, 11}, {u"№ зак."_s, 10}, {u"Обслуживает"_s, 22}, {u"Блюда"_s, 57},
};
}

Form_Ready::Form_Ready(AppState& state, Dialogs& dialogs, DisplayMode& display, const Clock& clock, QWidget* parent)
    : DesignDialog(u"Form_Ready"_s, Caption, QSize(600, 477), TitleButtons::CloseOnly, parent), m_dialogs(dialogs),
      m_clock(clock)
{
    G = new QTableWidget(0, int(std::size(Columns)), this);
    G->setObjectName(u"G"_s);
    G->setGeometry(0, 0, 600, 438);
    G->setFont(DesignFonts::arial(13));
    QStringList titles;
    for (const auto& column : Columns)
        titles << column.first;
    G->setHorizontalHeaderLabels(titles);
    // Rows a finger can hit: two lines of dishes, at least 40 pixels on a 1024x768 screen.
    TouchList::setUp(G, 36);
    G->setWordWrap(true);
    // Nothing looks chosen until the cook touches an entry.
    G->setFocusPolicy(Qt::NoFocus);
    BtnBack = OrderWindow::button("BtnBack", BackCaption, {0, 440, 556, 37}, this);
    BtnExit = OrderWindow::pictureButton("BtnExit", ButtonPictures::icon(ButtonPictures::Picture::Exit),
                                         {558, 440, 42, 37}, this);
    scaleForScreen(state, display.screenSize());
    G->verticalHeader()->setMinimumSectionSize(G->verticalHeader()->defaultSectionSize());
    const int base = G->width() - 25;
    for (int i = 0; i < int(std::size(Columns)); ++i)
        G->setColumnWidth(i, base * Columns[i].second / 100);
    G->horizontalHeader()->setStretchLastSection(true);

    connect(G, &QTableWidget::itemSelectionChanged, this, &Form_Ready::chosenChanged);
    connect(BtnBack, &QPushButton::clicked, this, &Form_Ready::BtnBackClick);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::accept);
}

void Form_Ready::attach(Form_Base& base, PressService& presses, std::function<void()> refresh)
{
    m_base = &base;
    m_presses = &presses;
    m_refresh = std::move(refresh);
}

void Form_Ready::showRecent()
{
    m_changed = false;
    fill();
    exec();
}

void Form_Ready::fill()
{
    m_entries = m_presses ? RecallList::entries(m_presses->journal(), m_clock.now()) : QList<Journal::Press>{};
    G->clearContents();
    G->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const Journal::Press& entry = m_entries[row];
        const Journal::Line& first = entry.lines.first();
        const QStringList cells{entry.at.toString(u"HH:mm"_s), first.number, first.waiter, RecallList::dishes(entry)};
        for (int column = 0; column < cells.size(); ++column)
            G->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    G->clearSelection();
    G->setCurrentItem(nullptr);
    G->setToolTip(m_presses && m_presses->journal().isOpen() ? QString() : NoJournal);
    chosenChanged();
}

void Form_Ready::chosenChanged()
{
    BtnBack->setEnabled(!G->selectedItems().isEmpty());
}

std::optional<Journal::Press> Form_Ready::chosenEntry() const
{
    const QList<QTableWidgetItem*> chosen = G->selectedItems();
    if (chosen.isEmpty() || !m_base || !m_presses)
        return std::nullopt;
    const int row = chosen.first()->row();
    if (row < 0 || row >= m_entries.size())
        return std::nullopt;
    return m_entries[row];
}

void Form_Ready::BtnBackClick()
{
    const std::optional<Journal::Press> entry = chosenEntry();
    if (!entry)
        return;
    takeBack(*entry, this);
    // The list as the journal has it now, whether the take-back went through or not.
    fill();
}

bool Form_Ready::takeBack(const Journal::Press& entry, QWidget* boxParent)
{
    bool done = false;
    runCookAction(m_dialogs, boxParent, m_base->MyDB, u"Заказ не возвращён в работу"_s, [&] {
        m_presses->recall(entry);
        m_changed = true;
        done = true;
    });
    return done;
}

ListKeys Form_Ready::keys()
{
    ListKeys keys;
    keys.step = [this](int step) { stepEntry(step); };
    keys.enter = [this] { takeBackByKey(); };
    keys.close = [this] {
        if (isVisible())
            BtnExit->click();
    };
    return keys;
}

void Form_Ready::stepEntry(int step)
{
    const int count = G->rowCount();
    if (count == 0)
        return;
    const QList<QTableWidgetItem*> chosen = G->selectedItems();
    // With no entry chosen the keys start at an end.
    const int row = chosen.isEmpty() ? (step > 0 ? 0 : count - 1) : qBound(0, chosen.first()->row() + step, count - 1);
    G->selectRow(row);
    G->scrollToItem(G->item(row, 0));
}

QString Form_Ready::backQuestion(const Journal::Press& entry)
{
    QStringList dishes;
    for (const Journal::Line& line : entry.lines)
        dishes << line.dish;
    if (entry.kind == Journal::Kind::DishReady && dishes.size() == 1)
        return Form_Detail::dishBackQuestion(dishes.first());
    return Form_Detail::orderBackQuestion(entry.lines.value(0).number, dishes);
}

void Form_Ready::takeBackByKey()
{
    const std::optional<Journal::Press> entry = chosenEntry();
    if (!entry)
        return;
    // Enter is the key that marks dishes at the board: a cook who meant the board must not take
    // a press back unasked.
    if (!m_dialogs.question(this, windowTitle(), backQuestion(*entry), Dialogs::Focus::Cancel))
        return;
    takeBack(*entry, this);
    fill();
}

std::optional<Journal::Press> Form_Ready::takeBackNewest()
{
    if (!m_base || !m_presses)
        return std::nullopt;
    const QList<Journal::Press> recent = RecallList::entries(m_presses->journal(), m_clock.now());
    if (recent.isEmpty())
        return std::nullopt;
    // From the board, without the window: the board is re-read here rather than when it closes.
    const bool done = takeBack(recent.first(), parentWidget());
    if (done && m_refresh)
        runCookAction(m_dialogs, parentWidget(), m_base->MyDB, u"Заказы на доске не прочитаны заново"_s,
                      [this] { m_refresh(); });
    m_changed = false;
    if (!done)
        return std::nullopt;
    return recent.first();
}

void Form_Ready::hideEvent(QHideEvent* event)
{
    DesignDialog::hideEvent(event);
    if (!event->spontaneous() && m_changed && m_refresh)
        runCookAction(m_dialogs, parentWidget(), m_base->MyDB, u"Заказы на доске не прочитаны заново"_s,
                      [this] { m_refresh(); });
}
