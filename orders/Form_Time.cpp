#include "Form_Time.h"
#include "LineState.h"

#include "ButtonPictures.h"
#include "Clock.h"
#include "DataGrid.h"
#include "DbValue.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_DateTime.h"
#include "Form_Detail.h"
#include "OrderWindow.h"
#include "Query.h"
#include "QueryModel.h"
#include "ServingTimeSql.h"

#include <QPushButton>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_Time::RemoveCaption = u"Время подачи"_s;
const QString Form_Time::RemoveQuestion = u"Вы действительно хотите убрать время подачи выбранного блюда ?"_s;

namespace {
// The detail query has no SECTION: its column stays empty.
const OrderWindow::Column Columns[] = {
    {u"NAME_BLUDO"_s, u"Наименование"_s, 44},
    {u"KOLVO"_s, u"Кол-во"_s, 8},
    {u"START_TIME"_s, u"Время заказа"_s, 23},
    {u"END_TIME"_s, u"Время подачи"_s, 23},
    {u"SECTION"_s, u"S"_s, 0, 18},
};
}

Form_Time::Form_Time(AppState& state, Dialogs& dialogs, DisplayMode& display, const Clock& clock, QWidget* parent)
    : DesignDialog(u"Form_Time"_s, u"Время подачи блюд"_s, QSize(613, 471), TitleButtons::None, parent),
      m_dialogs(dialogs), m_clock(clock)
{
    GridStrZakaz = OrderWindow::grid(u"GridStrZakaz"_s, {0, 0, 613, 429}, Columns, 11, this);

    BitBtn1 = OrderWindow::button("BitBtn1", u"Назначить время подачи"_s, {0, 432, 271, 39}, this);
    BitBtn2 = OrderWindow::button("BitBtn2", u"Убрать время подачи"_s, {272, 432, 271, 39}, this);
    BitBtn3 = OrderWindow::pictureButton("BitBtn3", ButtonPictures::icon(Picture::Ok), {544, 432, 69, 39}, this);
    BitBtn3->setDefault(true);

    auto handle = [this](void (Form_Time::*handler)()) {
        return [this, handler] { reportErrors(m_dialogs, this, [this, handler] { (this->*handler)(); }); };
    };
    connect(BitBtn1, &QPushButton::clicked, this, handle(&Form_Time::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, handle(&Form_Time::BitBtn2Click));
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::accept);
    connect(GridStrZakaz, &QAbstractItemView::doubleClicked, this, handle(&Form_Time::GridStrZakazDblClick));

    scaleForScreen(state, display.screenSize());
    OrderWindow::sizeColumns(GridStrZakaz, Columns);
}

void Form_Time::attach(Form_Base& base, Form_Detail& detail, Form_DateTime& picker)
{
    m_base = &base;
    m_detail = &detail;
    m_picker = &picker;
    auto* model = qobject_cast<QueryModel*>(GridStrZakaz->model());
    // Only a ready dish stands out here.
    model->colours = [](const Query& q, int row) { return TimingColours::readyOnly(QueryModel::timing(q, row)); };
    model->setQuery(detail.Q.get());
    GridStrZakaz->followCurrentRow();
}

void Form_Time::BitBtn1Click()
{
    Query& q = *m_detail->Q;
    if (!q.isOpen() || q.eof())
        return;
    if (q.asInt(u"PRINT_SECTION"_s).value_or(0) > stateValue(LineState::Shown))
        return;
    const qint64 key = q.asInt64(u"KOD"_s).value_or(0);
    // When the dish would be done if it were started now.
    const double done = DbTime::fromDateTime(m_clock.now()) + q.asInt(u"MY_TIME"_s).value_or(0) / 1440.0;
    m_picker->setMoment(DbTime::toDateTime(done));
    if (m_picker->exec() != QDialog::Accepted)
        return;
    m_base->WriteStatement(ServingTimeSql::set(), {{u"ET"_s, DbValue::timestamp(DbTime::fromDateTime(m_picker->moment()))},
                                                   {u"K"_s, DbValue::integer(key)}});
    m_detail->reread(key);
}

void Form_Time::GridStrZakazDblClick()
{
    BitBtn1Click();
}

void Form_Time::BitBtn2Click()
{
    Query& q = *m_detail->Q;
    // With no dish listed there is nothing to take a time from.
    if (!q.isOpen() || q.eof())
        return;
    const qint64 key = q.asInt64(u"KOD"_s).value_or(0);
    if (!m_dialogs.question(this, RemoveCaption, RemoveQuestion))
        return;
    m_base->WriteStatement(ServingTimeSql::clear(), {{u"K"_s, DbValue::integer(key)}});
    m_detail->reread(key);
}
