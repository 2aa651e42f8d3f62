#include "Form_Detail.h"

#include "ButtonPictures.h"
#include "CookAction.h"
#include "DataGrid.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_Time.h"
#include "InputGate.h"
#include "OrderWindow.h"
#include "PressService.h"
#include "Query.h"
#include "QueryModel.h"
#include "Scaling.h"
#include "ServerTime.h"

#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_Detail::StrCaption = u"Блюдо готово"_s;
const QString Form_Detail::AllCaption = u"Заказ полностью готов"_s;
const QString Form_Detail::StrBackCaption = u"Вернуть в работу"_s;
const QString Form_Detail::AllBackCaption = u"Вернуть заказ в работу"_s;

QString Form_Detail::dishBackQuestion(const QString& dish)
{
    return u"Вернуть в работу: %1?"_s.arg(dish);
}

QString Form_Detail::orderBackQuestion(const QString& number, const QStringList& dishes)
{
    return u"Вернуть заказ № %1 в работу?\n\n%2"_s.arg(number, dishes.join(u'\n'));
}

namespace {
// Columns of the grid: field, title, share of the width in hundredths.
const OrderWindow::Column Columns[] = {
    {u"NAME_BLUDO"_s, u"Блюдо"_s, 47},
    {u"KOLVO"_s, u"Кол-во"_s, 8},
    {u"NAME_GROUP"_s, u"Группа"_s, 19},
    {u"TP"_s, u"Время подачи"_s, 23},
};
}

Form_Detail::Form_Detail(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent)
    : DesignDialog(u"Form_Detail"_s, QString(), QSize(600, 477), TitleButtons::CloseOnly, parent),
      m_dialogs(dialogs)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
    OrderWindow::sizeColumns(G, Columns);
    QFont heading = G->font();
    heading.setBold(true);
    Heading->setFont(heading);
}

Form_Detail::~Form_Detail() = default;

void Form_Detail::buildControls()
{
    Heading = new QLabel(this);
    Heading->setObjectName(u"Heading"_s);
    Heading->setGeometry(4, 0, 592, 24);
    Heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    G = OrderWindow::grid(u"G"_s, {0, 24, 600, 414}, Columns, 13, this);
    DS = qobject_cast<QueryModel*>(G->model());

    BtnTime = OrderWindow::pictureButton("BtnTime", ButtonPictures::icon(Picture::Clock), {0, 440, 42, 37}, this);
    BtnTime->setToolTip(u"Графики приготовления"_s);
    BtnStr = OrderWindow::button("BtnStr", StrCaption, {44, 440, 255, 37}, this);
    BtnAll = OrderWindow::button("BtnAll", AllCaption, {301, 440, 255, 37}, this);
    BtnExit = OrderWindow::pictureButton("BtnExit", ButtonPictures::icon(Picture::Exit), {558, 440, 42, 37}, this);

    connect(BtnTime, &QPushButton::clicked, this,
            [this] { reportErrors(m_dialogs, this, [this] { BtnTimeClick(); }); });
    connect(BtnStr, &QPushButton::clicked, this, &Form_Detail::pressStr);
    connect(BtnAll, &QPushButton::clicked, this, &Form_Detail::pressAll);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::accept);
    // Enter is a key of the map here, never a press of whichever button is the default.
    for (QPushButton* button : {BtnTime, BtnStr, BtnAll, BtnExit})
        button->setAutoDefault(false);
}

void Form_Detail::attach(Form_Base& base, PressService& presses, ServerTime& time, Board board,
                         Form_Time& servingTimes)
{
    m_base = &base;
    m_presses = &presses;
    m_board = std::move(board);
    m_servingTimes = &servingTimes;
    Q = std::make_unique<Query>(base.MyDB, base.TransactionRead);
    // The dish button says what it will do to the dish the cook has chosen.
    connect(Q.get(), &Query::currentChanged, this, &Form_Detail::showCaptions);
    connect(Q.get(), &Query::rowsChanged, this, &Form_Detail::showCaptions);
    // Exactly the colours of the board's panels.
    DS->colours = [&time](const Query& q, int row) {
        return TimingColours::panel(QueryModel::timing(q, row), [&time] { return time.now(); });
    };
    DS->setQuery(Q.get());
    G->setServerTime(&time);
    G->followCurrentRow();
}

void Form_Detail::showOrder(const QStringList& sql, const QString& caption, qint64 orderKey, const Dish& dish)
{
    loadOrder(sql, caption, orderKey, dish);
    exec();
}

void Form_Detail::loadOrder(const QStringList& sql, const QString& caption, qint64 orderKey, const Dish& dish)
{
    Q->close();
    Q->setSql(sql);
    Q->setParam(u"K"_s, DbValue::integer(orderKey)); // the order's statements take its key as :K
    Q->prepare();
    Q->open();
    for (int row = 0; !dish.isEmpty() && row < Q->recordCount(); ++row) {
        const bool same = std::all_of(dish.begin(), dish.end(), [&](const QPair<QString, DbValue>& field) {
            const int column = Q->fieldIndex(field.first);
            return column >= 0 && Q->row(row)[size_t(column)] == field.second;
        });
        if (same) {
            Q->setRecNo(row);
            break;
        }
    }
    m_order = orderKey;
    readServedLines();
    showCaptions();
    setWindowTitle(caption);
    Heading->setText(caption);
    m_exitPending = false;
}

ListKeys Form_Detail::keys()
{
    ListKeys keys;
    keys.step = [this](int step) { stepDish(step); };
    keys.rowDone = [this] { return !hasCurrentRow() || currentIsReady(); };
    keys.enter = [this] { pressStr(); };
    keys.wholeDone = [this] { return m_orderReady; };
    keys.whole = [this] { pressAll(); };
    keys.close = [this] {
        if (isVisible())
            BtnExit->click();
    };
    return keys;
}

void Form_Detail::stepDish(int step)
{
    // With no dish current (the one just marked has left the list) the keys start at an end.
    if (hasCurrentRow())
        Q->setRecNo(qBound(0, Q->recNo() + step, Q->recordCount() - 1));
    else if (Q && Q->isOpen() && Q->recordCount() > 0)
        Q->setRecNo(step > 0 ? 0 : Q->recordCount() - 1);
}

void Form_Detail::pressExit()
{
    if (!isVisible())
        return;
    // Qt would hide this window at once, under the serving-time window still open on top.
    if (m_servingTimes && m_servingTimes->isVisible()) {
        m_exitPending = true;
        return;
    }
    // A question asked here is the window's: nobody is there to answer it.
    for (QDialog* box : findChildren<QDialog*>())
        if (box->isWindow() && box->isVisible())
            box->reject();
    closeByItself();
}

void Form_Detail::closeByItself()
{
    if (m_board.input)
        m_board.input->closedByItself();
    BtnExit->click();
}

bool Form_Detail::hasCurrentRow() const
{
    return Q && Q->isOpen() && !Q->eof();
}

bool Form_Detail::currentIsReady() const
{
    return hasCurrentRow() && Q->asInt(u"PRINT_SECTION"_s).value_or(0) == stateValue(LineState::Ready);
}

bool Form_Detail::doubleTap()
{
    return m_board.input && m_board.input->doubleTap(this);
}

void Form_Detail::readServedLines()
{
    m_served = m_presses ? m_presses->readServed(m_order, m_board.served ? m_board.served() : ServedSections{})
                         : PressService::OrderLines{};
    m_orderReady = !m_served.lines.isEmpty() && m_served.in(LineState::Ready).size() == m_served.lines.size();
    m_number = m_served.number;
}

QList<ReadyRecord::Line> Form_Detail::servedLines(LineState state) const
{
    return m_served.in(state);
}

void Form_Detail::showCaptions()
{
    BtnStr->setText(currentIsReady() ? StrBackCaption : StrCaption);
    BtnAll->setText(m_orderReady ? AllBackCaption : AllCaption);
}

void Form_Detail::reread(std::optional<qint64> key)
{
    Q->close();
    Q->prepare();
    Q->open();
    // The dish the cook worked on stays current; gone from the list, no dish is, so that a
    // second press acts on none.
    if (key && !Q->locate(u"KOD"_s, *key))
        Q->setRecNo(Q->recordCount());
    readServedLines();
    showCaptions();
}

bool Form_Detail::pressStr()
{
    m_notDone = u"Блюдо не отмечено"_s;
    return !m_base || runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [this] { BtnStrClick(); });
}

bool Form_Detail::pressAll()
{
    m_notDone = u"Заказ не отмечен"_s;
    return !m_base || runCookAction(m_dialogs, this, m_base->MyDB, m_notDone, [this] { BtnAllClick(); });
}

void Form_Detail::BtnStrClick()
{
    if (doubleTap())
        return;
    // With no dish listed there is nothing to mark.
    if (!hasCurrentRow() || !m_presses)
        return;
    const qint64 key = Q->asInt64(u"KOD"_s).value_or(0);
    const QString dish = Q->asString(u"NAME_BLUDO"_s).value_or(QString());
    const LineState state = LineState(Q->asInt(u"PRINT_SECTION"_s).value_or(stateValue(LineState::Shown)));
    if (state == LineState::Ready) {
        if (!m_dialogs.question(this, windowTitle(), dishBackQuestion(dish), Dialogs::Focus::Cancel))
            return;
        m_notDone = u"Блюдо не возвращено в работу"_s;
        m_presses->dishBack(key, dish);
    } else
        m_presses->dishReady(m_order, m_number, {key, state, dish});
    m_notDone = u"Список блюд не прочитан заново"_s;
    reread(key);
}

void Form_Detail::BtnAllClick()
{
    if (doubleTap())
        return;
    if (m_orderReady) {
        takeBackOrder();
        return;
    }
    if (!hasCurrentRow() || !m_presses)
        return;
    m_order = Q->asInt64(u"KOD_ZAKAZ"_s).value_or(0);
    // Read just before the write: the shown lines that this press is about to set ready. Lines
    // not yet shown to the cook stay as they are.
    readServedLines();
    m_presses->orderReady(m_order, m_number, servedLines(LineState::Shown), m_board.served());
    Q->close();
    BtnExit->click();
}

// Back go the lines of this monitor's press that made the order ready, to their states before
// it; lines ready before that press stay ready. Without such a press (another monitor marked the
// order, or a run before this one), every ready line of the served sections goes back to shown.
void Form_Detail::takeBackOrder()
{
    if (!m_presses)
        return;
    const QList<ReadyRecord::Line> back = m_presses->orderBackLines(m_order, servedLines(LineState::Ready));
    if (back.isEmpty())
        return;
    if (!m_dialogs.question(this, windowTitle(), orderBackQuestion(m_number, ReadyRecord::dishes(back)),
                            Dialogs::Focus::Cancel))
        return;
    m_notDone = u"Заказ не возвращён в работу"_s;
    const std::optional<qint64> key = hasCurrentRow() ? Q->asInt64(u"KOD"_s) : std::nullopt;
    m_presses->orderBack(back);
    m_notDone = u"Список блюд не прочитан заново"_s;
    reread(key);
}

void Form_Detail::BtnTimeClick()
{
    if (!m_servingTimes)
        return;
    m_servingTimes->exec();
    if (m_exitPending) {
        m_exitPending = false;
        closeByItself();
    }
}

void Form_Detail::FormHide()
{
    if (m_board.refresh)
        m_board.refresh();
}

void Form_Detail::hideEvent(QHideEvent* event)
{
    DesignDialog::hideEvent(event);
    if (!event->spontaneous())
        reportErrors(m_dialogs, parentWidget(), [this] { FormHide(); });
}
