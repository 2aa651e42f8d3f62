#include "MenuBrowser.h"

#include "DbError.h"
#include "Dialogs.h"
#include "Form_Base.h"
#include "MenuSql.h"
#include "SystemLocale.h"

using namespace Qt::StringLiterals;

MenuBrowser::MenuBrowser(Form_Base& base, Dialogs& dialogs, QObject* parent)
    : QObject(parent),
      QMenuGroup(base.MyDB, base.TransactionRead),
      QMenuStr(base.MyDB, base.TransactionRead),
      m_base(base),
      m_dialogs(dialogs)
{
    setObjectName(u"MenuBrowser"_s);
    TimerMenuStr.setInterval(200);
    connect(&TimerMenuStr, &QTimer::timeout, this, &MenuBrowser::TimerMenuStrTimer);
    // Opening an empty section list moves nowhere, so it schedules no reload.
    connect(&QMenuGroup, &Query::currentChanged, this, [this] {
        if (QMenuGroup.recordCount() > 0)
            QMenuGroupAfterScroll();
    });
}

void MenuBrowser::openSections()
{
    QMenuGroup.close();
    QMenuGroup.setSql(MenuSql::sections());
    QMenuGroup.prepare();
    QMenuGroup.open();
}

void MenuBrowser::QMenuGroupAfterScroll()
{
    TimerMenuStr.stop();
    if (hooks.itemsEnabled)
        hooks.itemsEnabled(false);
    TimerMenuStr.start();
}

void MenuBrowser::TimerMenuStrTimer()
{
    TimerMenuStr.stop();
    // A failed reload leaves the grid grey: the next move or key tries again.
    if (reportErrors(m_dialogs, nullptr, [this] { LoadMenuStr(); }) && hooks.itemsEnabled)
        hooks.itemsEnabled(true);
}

void MenuBrowser::LoadMenuStr()
{
    QMenuStr.close();
    const bool section = QMenuGroup.recordCount() > 0 && !QMenuGroup.eof();
    auto sectionField = [&](const QString& name) {
        return section ? QMenuGroup.field(name) : DbValue::integer(0);
    };
    const std::optional<QString> search = hooks.searchText ? hooks.searchText() : std::nullopt;
    if (search) {
        const QString pattern = u'%' + SystemLocale::current().toUpper(*search) + u'%';
        QMenuStr.setSql(MenuSql::searchItems(pattern.size()));
        QMenuStr.setParam(u"KM"_s, sectionField(u"KOD_SPISOK_MENU"_s));
        QMenuStr.setParam(u"P"_s, DbValue::text(pattern));
    } else {
        QMenuStr.setSql(MenuSql::sectionItems());
        QMenuStr.setParam(u"KG"_s, sectionField(u"KOD"_s));
    }
    QMenuStr.prepare();
    QMenuStr.open();
}

qint64 MenuBrowser::currentMenuItem() const
{
    if (QMenuStr.recordCount() == 0 || QMenuStr.eof())
        return 0;
    return QMenuStr.asInt64(u"KOD"_s).value_or(0);
}

void MenuBrowser::SetMenuStrLimit(const DbValue& limit)
{
    const qint64 key = currentMenuItem();
    m_base.WriteStatement(MenuSql::setLimit(), {{u"LM"_s, limit}, {u"KD"_s, DbValue::integer(key)}});
    // Items never loaded have no statement to run again.
    if (QMenuStr.sql().isEmpty())
        return;
    QMenuStr.close();
    QMenuStr.open();
    QMenuStr.locate(u"KOD"_s, key);
}
