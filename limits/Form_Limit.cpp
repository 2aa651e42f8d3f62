#include "Form_Limit.h"

#include "AppState.h"
#include "DataGrid.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_Klava.h"
#include "MenuBrowser.h"
#include "MenuSql.h"
#include "QueryModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

const QString Form_Limit::ClearCaption = u"ВНИМАНИЕ !"_s;
const QString Form_Limit::ClearQuestion = u"Убрать лимит с указанного блюда ?"_s;

namespace {

// The grey of a control that cannot be used now, or the white of one that can.
void paint(QWidget* w, bool usable)
{
    const QColor colour = QApplication::palette().color(usable ? QPalette::Base : QPalette::Button);
    QPalette p = w->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, colour);
    w->setPalette(p);
}

DataGrid* grid(const char* name, const QRect& place, const QStringList& fields,
                 const QStringList& titles, QWidget* parent)
{
    auto* view = new DataGrid(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(place);
    auto* model = new QueryModel(fields, view);
    model->setTitles(titles);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->setFixedWidth(11);
    view->verticalHeader()->setDefaultSectionSize(18);
    view->horizontalHeader()->setHighlightSections(false);
    QPalette blue = view->horizontalHeader()->palette();
    blue.setColor(QPalette::ButtonText, QColor(0, 0, 255));
    view->horizontalHeader()->setPalette(blue);
    return view;
}

} // namespace

Form_Limit::Form_Limit(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent)
    : DesignDialog(u"Form_Limit"_s, u"Установка лимитов блюд"_s, QSize(633, 417), TitleButtons::None,
                   parent),
      m_state(state), m_dialogs(dialogs)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
}

void Form_Limit::buildControls()
{
    GridRazdel = grid("GridRazdel", {0, 0, 193, 373}, {u"NAME_GROUP"_s}, {u"Раздел меню"_s}, this);
    GridRazdel->horizontalHeader()->setStretchLastSection(true);
    GridStr = grid("GridStr", {192, 0, 441, 373}, {u"NAME"_s, u"VIHOD"_s, u"CENA"_s, u"LIMIT"_s},
                   {u"Блюдо"_s, u"Выход"_s, u"Цена"_s, u"Лимит"_s}, this);
    GridStr->setColumnWidth(0, 224);
    GridStr->setColumnWidth(1, 60);
    GridStr->setColumnWidth(2, 64);
    GridStr->setColumnWidth(3, 39);

    CB_Context = new QCheckBox(u"Контекстный поиск:"_s, this);
    CB_Context->setObjectName(u"CB_Context"_s);
    CB_Context->setGeometry(4, 376, 133, 17);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setGeometry(4, 394, 185, 21);
    Edit1->setMaxLength(MenuSql::LongestPattern - 2); // the pattern adds a '%' at each end
    Edit1->installEventFilter(this);

    auto button = [this](const char* name, const QString& text, const QRect& place) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(place);
        return b;
    };
    Btn_AddLimit = button("Btn_AddLimit", u"Установить лимит"_s, {196, 376, 144, 41});
    Btn_ClearLimit = button("Btn_ClearLimit", u"Снять лимит"_s, {342, 376, 144, 41});
    Btn_Exit = button("Btn_Exit", u"Выход"_s, {489, 376, 144, 41});
    // Enter in the search box or on a grid opens the keypad for the current item.
    Btn_AddLimit->setDefault(true);

    showSearchMode();

    connect(CB_Context, &QCheckBox::toggled, this, &Form_Limit::CB_ContextClick);
    // A paste or a cut from the box's menu changes the search as a key does.
    connect(Edit1, &QLineEdit::textEdited, this, &Form_Limit::Edit1KeyUp);
    connect(Btn_AddLimit, &QPushButton::clicked, this, &Form_Limit::Btn_AddLimitClick);
    connect(Btn_ClearLimit, &QPushButton::clicked, this,
            [this] { reportErrors(m_dialogs, this, [this] { Btn_ClearLimitClick(); }); });
    connect(Btn_Exit, &QPushButton::clicked, this, &QDialog::accept);
}

void Form_Limit::attach(MenuBrowser& menu, Form_Klava& klava)
{
    m_menu = &menu;
    m_klava = &klava;
    qobject_cast<QueryModel*>(GridRazdel->model())->setQuery(&menu.QMenuGroup);
    qobject_cast<QueryModel*>(GridStr->model())->setQuery(&menu.QMenuStr);
    // Each grid and its query share one current row.
    GridRazdel->followCurrentRow();
    GridStr->followCurrentRow();
    menu.hooks.searchText = [this]() -> std::optional<QString> {
        if (!CB_Context->isChecked())
            return std::nullopt;
        return Edit1->text();
    };
    menu.hooks.itemsEnabled = [this](bool enabled) { setItemsEnabled(enabled); };
}

void Form_Limit::showEvent(QShowEvent* event)
{
    DesignDialog::showEvent(event);
    if (!event->spontaneous())
        reportErrors(m_dialogs, this, [this] { FormShow(); });
}

bool Form_Limit::eventFilter(QObject* watched, QEvent* event)
{
    // Only a key pressed in the box counts when released: the Enter that closes a box raised
    // by the reload is released here, and must not raise it again.
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        m_keysDown.insert(static_cast<QKeyEvent*>(event)->key());
    if (watched == Edit1 && event->type() == QEvent::KeyRelease && m_keysDown.remove(static_cast<QKeyEvent*>(event)->key()))
        Edit1KeyUp();
    return DesignDialog::eventFilter(watched, event);
}

void Form_Limit::FormShow()
{
    if (!m_menu)
        return;
    Form_Base& base = m_menu->base();
    // Once the point of sale has asked for a minimum, it holds until the program ends.
    if (base.readParam(ParamSql::key(), u"limit_min1"_s))
        m_state.MinLimitOn = true;
    if (std::optional<DbValue> minimum = base.readParam(ParamSql::floating(), u"limit_min2"_s))
        m_state.MinLimit = minimum->toDouble().value_or(0);
    m_menu->openSections();
    showSearchMode();
}

void Form_Limit::showSearchMode()
{
    const bool search = CB_Context->isChecked();
    GridRazdel->setEnabled(!search);
    paint(GridRazdel, !search);
    Edit1->setEnabled(search);
    paint(Edit1, search);
    if (search)
        Edit1->setFocus();
}

void Form_Limit::setItemsEnabled(bool enabled)
{
    GridStr->setEnabled(enabled);
    paint(GridStr, enabled);
}

void Form_Limit::CB_ContextClick()
{
    showSearchMode();
    // The list stays as it is until the reload in the new mode.
    if (m_menu) {
        m_menu->TimerMenuStr.stop();
        m_menu->TimerMenuStr.start();
    }
}

void Form_Limit::Edit1KeyUp()
{
    if (m_menu)
        m_menu->QMenuGroupAfterScroll();
}

void Form_Limit::Btn_AddLimitClick()
{
    if (m_klava)
        m_klava->exec();
}

void Form_Limit::Btn_ClearLimitClick()
{
    if (!m_menu || !m_dialogs.question(this, ClearCaption, ClearQuestion))
        return;
    m_menu->SetMenuStrLimit(DbValue());
}
