#include "Form_Detail.h"

#include "ButtonPictures.h"
#include "Clock.h"
#include "DataGrid.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_Time.h"
#include "JournalLines.h"
#include "OrderWindow.h"
#include "Query.h"
#include "QueryModel.h"
#include "RecallSql.h"
#include "Scaling.h"
#include "ServerTime.h"

#include <QApplication>
#include <QHideEvent>
#include <QPushButton>
#include <algorithm>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_Detail::StrCaption = u"Блюдо готово"_s;
const QString Form_Detail::AllCaption = u"Заказ полностью готов"_s;
const QString Form_Detail::StrBackCaption = u"Вернуть в работу"_s;
const QString Form_Detail::AllBackCaption = u"Вернуть заказ в работу"_s;

namespace {
// Columns of the grid: field, title, share of the width in hundredths.
const OrderWindow::Column Columns[] = {
    {u"NAME_BLUDO"_s, u"Блюдо"_s, 49},
    {u"KOLVO"_s, u"Кол-во"_s, 6},
    {u"NAME_GROUP"_s, u"Группа"_s, 19},
    {u"TP"_s, u"Время подачи"_s, 23},
};
}

Form_Detail::Form_Detail(AppState& state, Dialogs& dialogs, DisplayMode& display, const Clock& clock,
                         QWidget* parent)
    : DesignDialog(u"Form_Detail"_s, QString(), QSize(600, 477), TitleButtons::CloseOnly, parent),
      m_dialogs(dialogs), m_clock(clock)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
    OrderWindow::sizeColumns(G, Columns);
}

Form_Detail::~Form_Detail() = default;

void Form_Detail::buildControls()
{
    G = OrderWindow::grid(u"G"_s, {0, 0, 600, 438}, Columns, 13, this);
    DS = qobject_cast<QueryModel*>(G->model());

    BtnTime = OrderWindow::pictureButton("BtnTime", ButtonPictures::icon(Picture::Clock), {0, 440, 42, 37}, this);
    BtnTime->setToolTip(u"Графики приготовления"_s);
    BtnStr = OrderWindow::button("BtnStr", StrCaption, {44, 440, 255, 37}, this);
    BtnAll = OrderWindow::button("BtnAll", AllCaption, {301, 440, 255, 37}, this);
    BtnExit = OrderWindow::pictureButton("BtnExit", ButtonPictures::icon(Picture::Exit), {558, 440, 42, 37}, this);

    auto handle = [this](void (Form_Detail::*handler)()) {
        return [this, handler] { reportErrors(m_dialogs, this, [this, handler] { (this->*handler)(); }); };
    };
    connect(BtnTime, &QPushButton::clicked, this, handle(&Form_Detail::BtnTimeClick));
    connect(BtnStr, &QPushButton::clicked, this, handle(&Form_Detail::BtnStrClick));
    connect(BtnAll, &QPushButton::clicked, this, handle(&Form_Detail::BtnAllClick));
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::accept);
}

void Form_Detail::attach(Form_Base& base, ServerTime& time, Board board, Form_Time& servingTimes)
{
    m_base = &base;
    m_board = std::move(board);
    m_servingTimes = &servingTimes;
    Q = std::make_unique<Query>(base.MyDB, base.TransactionRead);
    m_servedLines = std::make_unique<Query>(base.MyDB, base.TransactionRead);
    // The dish button says what it will do to the dish the cook has chosen.
    connect(Q.get(), &Query::currentChanged, this, &Form_Detail::showCaptions);
    connect(Q.get(), &Query::rowsChanged, this, &Form_Detail::showCaptions);
    // Exactly the colours of the board's panels.
    DS->readyBackground = QApplication::palette().color(QPalette::Button);
    DS->colours = [&time](const Query& q, int row) {
        return TimingColours::panel(QueryModel::timing(q, row), [&time] { return time.now(); });
    };
    DS->setQuery(Q.get());
    G->setServerTime(&time);
    G->followCurrentRow();
}

void Form_Detail::showOrder(const QStringList& sql, const QString& caption, qint64 orderKey, const Dish& dish)
{
    Q->close();
    Q->setSql(sql);
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
    m_exitPending = false;
    exec();
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
    BtnExit->click();
}

bool Form_Detail::hasCurrentRow() const
{
    return Q && Q->isOpen() && !Q->eof();
}

bool Form_Detail::currentIsReady() const
{
    return hasCurrentRow() && Q->asInt(u"PRINT_SECTION"_s).value_or(0) == 3;
}

bool Form_Detail::doubleTap()
{
    const QDateTime now = m_clock.now();
    const qint64 since = m_lastPress.isValid() ? m_lastPress.msecsTo(now) : -1;
    m_lastPress = now;
    return since >= 0 && since < DoubleTapMilliseconds;
}

QList<qint64> Form_Detail::readServedLines()
{
    Query& q = *m_servedLines;
    q.close();
    q.setSql(RecallSql::servedLines(m_order, m_board.served ? m_board.served() : ServedSections{}));
    q.prepare();
    q.open();
    QList<qint64> notReady;
    for (int i = 0; i < q.recordCount(); ++i) {
        const Query::Row& line = q.row(i);
        if (line[1].toInt64().value_or(0) != 3)
            notReady << line[0].toInt64().value_or(0);
    }
    m_orderReady = q.recordCount() > 0 && notReady.isEmpty();
    m_number = q.recordCount() > 0 ? q.row(0)[2].toText().value_or(QString()) : QString();
    q.close();
    return notReady;
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
    if (key)
        Q->locate(u"KOD"_s, *key);
    readServedLines();
    showCaptions();
}

void Form_Detail::BtnStrClick()
{
    if (doubleTap())
        return;
    // With no dish listed there is nothing to mark.
    if (!hasCurrentRow())
        return;
    const qint64 key = Q->asInt64(u"KOD"_s).value_or(0);
    if (currentIsReady()) {
        JournalPress press(*m_base, Journal::Kind::DishBack, {key});
        m_base->WriteStatement(RecallSql::dishBack(key));
        press.done();
        reread(key);
        return;
    }
    JournalPress press(*m_base, Journal::Kind::DishReady, {key});
    m_base->WriteStatement({u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE KOD = "_s + QString::number(key)});
    press.done();
    reread();
}

void Form_Detail::BtnAllClick()
{
    if (doubleTap())
        return;
    if (m_orderReady) {
        const std::optional<qint64> key = hasCurrentRow() ? Q->asInt64(u"KOD"_s) : std::nullopt;
        JournalPress press(*m_base, Journal::Kind::OrderBack, m_order, m_board.served());
        m_base->WriteStatement(RecallSql::orderBack(m_order, m_board.served()));
        press.done();
        reread(key);
        return;
    }
    if (!hasCurrentRow())
        return;
    m_order = Q->asInt64(u"KOD_ZAKAZ"_s).value_or(0);
    // Read just before the write: the lines that this press is about to set ready.
    const QList<qint64> settingReady = readServedLines();
    JournalPress press(*m_base, Journal::Kind::OrderReady, settingReady);
    m_base->WriteStatement(BoardSql::orderReady(m_order, m_board.served()));
    press.done();
    Q->close();
    BtnExit->click();
    if (!settingReady.isEmpty() && m_board.orderReady)
        m_board.orderReady(m_number, settingReady);
}

void Form_Detail::BtnTimeClick()
{
    if (!m_servingTimes)
        return;
    m_servingTimes->exec();
    if (m_exitPending) {
        m_exitPending = false;
        BtnExit->click();
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
