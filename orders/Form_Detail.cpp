#include "Form_Detail.h"

#include "ButtonPictures.h"
#include "DataGrid.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_Time.h"
#include "OrderWindow.h"
#include "Query.h"
#include "QueryModel.h"
#include "Scaling.h"
#include "ServerTime.h"

#include <QApplication>
#include <QHideEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_Detail::StrCaption = u"Блюдо готово"_s;
const QString Form_Detail::AllCaption = u"Заказ полностью готов"_s;

namespace {
// Columns of the grid: field, title, share of the width in hundredths.
const OrderWindow::Column Columns[] = {
    {u"NAME_BLUDO"_s, u"Блюдо"_s, 49},
    {u"KOLVO"_s, u"Кол-во"_s, 6},
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
    // Exactly the colours of the board's panels.
    DS->readyBackground = QApplication::palette().color(QPalette::Button);
    DS->colours = [&time](const Query& q, int row) {
        return TimingColours::panel(QueryModel::timing(q, row), [&time] { return time.now(); });
    };
    DS->setQuery(Q.get());
    G->setServerTime(&time);
    G->followCurrentRow();
}

void Form_Detail::showOrder(const QStringList& sql, const QString& caption)
{
    Q->close();
    Q->setSql(sql);
    Q->prepare();
    Q->open();
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

void Form_Detail::reread(std::optional<qint64> key)
{
    Q->close();
    Q->prepare();
    Q->open();
    if (key)
        Q->locate(u"KOD"_s, *key);
}

void Form_Detail::BtnStrClick()
{
    // With no dish listed there is nothing to mark.
    if (!hasCurrentRow())
        return;
    const qint64 key = Q->asInt64(u"KOD"_s).value_or(0);
    m_base->WriteStatement({u"UPDATE ZAKAZ_STR SET PRINT_SECTION = 3 WHERE KOD = "_s + QString::number(key)});
    reread();
}

void Form_Detail::BtnAllClick()
{
    if (!hasCurrentRow())
        return;
    const qint64 order = Q->asInt64(u"KOD_ZAKAZ"_s).value_or(0);
    m_base->WriteStatement(BoardSql::orderReady(order, m_board.served()));
    Q->close();
    BtnExit->click();
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
