#include "Form_Base.h"

#include "AppState.h"
#include "Cp1251.h"
#include "DbError.h"
#include "Dialogs.h"
#include "Form_Util.h"
#include "Log.h"
#include "SettingsFile.h"
#include "SettingsNames.h"
#include "SoundPlayer.h"
#include "SystemLocale.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

const QString Form_Base::SelectParamKey = u"SELECT KOD FROM MY_PARAM WHERE NAME_PARAM = :N"_s;
const QString Form_Base::SelectParamFloat = u"SELECT FLOAT_PARAM FROM MY_PARAM WHERE NAME_PARAM = :N"_s;

namespace {
const QString selectInteger = u"SELECT INTEGER_PARAM FROM MY_PARAM WHERE NAME_PARAM = :N"_s;
const QString setLimit = u"UPDATE MENU_STR SET LIMIT = :LM WHERE KOD = :KD"_s;

QList<QByteArray> connectionParams(const QByteArray& password)
{
    return {QByteArrayLiteral("user_name=SYSDBA"), QByteArrayLiteral("password=") + password,
            QByteArrayLiteral("lc_ctype=WIN1251")};
}

// A write as the log tells it: the statement with its keys, and the values bound to it.
QString describeWrite(const QStringList& lines, const Form_Base::Params& params)
{
    QString text = lines.join(u' ');
    for (const auto& [name, value] : params) {
        const QVariant v = value.toVariant();
        text += u" :"_s + name + u'=' + (value.isNull() ? u"NULL"_s : v.toString());
    }
    return text;
}
}

Form_Base::Form_Base(AppState& state, Form_Util& util, Dialogs& dialogs, SoundPlayer& player,
                     QObject* parent)
    : QObject(parent),
      // A read-only read-committed transaction may stay open all shift: the server does not let
      // it hold back garbage collection, as it would a read-write one.
      TransactionRead(MyDB, {u"read_committed"_s, u"rec_version"_s, u"nowait"_s, u"read"_s}),
      // Writes lock only the rows they update, so the waiters' own inserts and updates never
      // wait behind the monitor; they wait for a row the point of sale holds, but never longer
      // than a few seconds: the monitor has one thread, and a write that waits forever would
      // freeze it.
      TransactionWrite(MyDB, WriteParams),
      // The polling never waits: a row another holds is tried again at the next run, and the
      // board goes on meanwhile.
      TransactionBeep(MyDB, NoWaitWriteParams),
      QRead1(MyDB, TransactionRead),
      QWrite1(MyDB, TransactionWrite),
      QZakaz(MyDB, TransactionRead),
      QHot(MyDB, TransactionRead),
      QBeep(MyDB, TransactionRead),
      QBeepWide(MyDB, TransactionRead),
      QW(MyDB, TransactionBeep),
      QMenuGroup(MyDB, TransactionRead),
      QMenuStr(MyDB, TransactionRead),
      QJournal(MyDB, TransactionRead),
      MyStoredProc(MyDB, TransactionRead),
      MediaPlayer1(player),
      m_state(state),
      m_util(util),
      m_dialogs(dialogs)
{
    setObjectName(u"Form_Base"_s);
    MyDB.Params = connectionParams(DefaultPassword);
    // A host that accepts and never answers is given up within seconds, not minutes, and a
    // request that the server leaves unanswered as long is broken off.
    MyDB.ConnectTimeout = RequestLimitSeconds;
    MyDB.RequestTimeout = std::chrono::seconds(RequestLimitSeconds);
    MyStoredProc.StoredProcName = u"MYDATETIME"_s;
    TimerHot.setInterval(5000);
    Timer_Signal.setInterval(170);
    Timer_Signal.setTimerType(Qt::PreciseTimer); // the pause between beeps is heard
    TimerMenuStr.setInterval(200);
    connect(&TimerMenuStr, &QTimer::timeout, this, &Form_Base::TimerMenuStrTimer);
    // Opening an empty section list moves nowhere, so it schedules no reload.
    connect(&QMenuGroup, &Query::currentChanged, this, [this] {
        if (QMenuGroup.recordCount() > 0)
            QMenuGroupAfterScroll();
    });
}

void Form_Base::shortenLimits(int requestSeconds, int lockSeconds)
{
    RequestLimitSeconds = requestSeconds;
    for (QString& param : WriteParams)
        if (param.startsWith(u"lock_timeout="_s))
            param = u"lock_timeout=%1"_s.arg(lockSeconds);
}

bool Form_Base::FormCreate()
{
    MyDB.close();
    bool opened = reportErrors(m_dialogs, nullptr, [&] { readConnectionSettings(); });
    if (opened) {
        // The name only: the password is among the connection's parameters, never logged.
        const QString name = Cp1251::decode(MyDB.DatabaseName);
        qCInfo(lcMonitor).noquote() << "database:" << name;
        try {
            MyDB.open();
            std::optional<DbValue> alarm = readParam(selectInteger, u"timealarm"_s);
            AlarmTime = alarm ? alarm->toInt64().value_or(0) : 5;
            TimerHot.start();
            qCInfo(lcMonitor).noquote() << "connected to" << name;
        } catch (const DbError& e) {
            // A refused, unreachable or silent server is one that starts later than the kitchen,
            // as after a power cut; a wrong path or password, or the name the program came with,
            // wait for a person.
            const bool configured = MyDB.DatabaseName != Cp1251::encode(SettingsNames::NetDefault.value(1));
            // A server that takes the connection and then says nothing within the attach's
            // limit is given up as "connection rejected".
            const bool silent = e.iscCode() == 335544421; // isc_connect_reject
            if ((e.connectionLost() || silent) && configured && hooks.serverAwaited) {
                qCWarning(lcMonitor).noquote() << "server not answering, waiting for it:" << name << "-"
                                               << Log::oneLine(e.text());
                m_switchesPending = true;
                TimerHot.start();
                hooks.serverAwaited(e.text());
                openSoundFile();
                return true;
            }
            qCWarning(lcMonitor).noquote() << "cannot open" << name << "-" << Log::oneLine(e.text());
            opened = false;
        } catch (const std::exception& e) {
            qCWarning(lcMonitor).noquote() << "cannot open" << name << "-" << Log::oneLine(QString::fromUtf8(e.what()));
            opened = false;
        }
    }
    if (!opened) {
        m_dialogs.message(nullptr, OpenFailedMessage);
        if (hooks.connectionFailed)
            hooks.connectionFailed();
        return false;
    }
    reportErrors(m_dialogs, nullptr, [&] { readSwitches(); });
    openSoundFile();
    return true;
}

void Form_Base::openSoundFile()
{
    if (!m_state.SoundFile.isEmpty()) {
        qCInfo(lcMonitor).noquote() << "sound file:" << m_state.SoundFile;
        // Played only when the sound is set to the file, so its player loads at the first play.
        reportErrors(m_dialogs, nullptr, [&] { MediaPlayer1.openLater(m_state.SoundFile); });
    }
}

void Form_Base::readSwitchesIfPending()
{
    if (!std::exchange(m_switchesPending, false))
        return;
    try {
        std::optional<DbValue> alarm = readParam(selectInteger, u"timealarm"_s);
        AlarmTime = alarm ? alarm->toInt64().value_or(0) : 5;
        readSwitches();
    } catch (const std::exception& e) {
        qCWarning(lcMonitor).noquote() << "switches not read:" << Log::oneLine(QString::fromUtf8(e.what()));
    }
}

void Form_Base::readConnectionSettings()
{
    // The database name is taken byte for byte: the server, a colon, the file's path.
    const QString folder = m_state.settingsFolder;
    QList<QByteArray> net = SettingsFile::splitLines(SettingsFile(folder, SettingsNames::Net).readBytes());
    MyDB.DatabaseName = net.size() > 1 ? net[1] : QByteArray();
    SettingsFile psw(folder, SettingsNames::Psw);
    if (psw.exists())
        MyDB.Params = connectionParams(m_util.UnscramblePassword(psw.readBytes()));
}

void Form_Base::readSwitches()
{
    bool servingTimes = readParam(SelectParamKey, u"time_monitor"_s).has_value();
    if (!servingTimes && hooks.servingTimesEnabled)
        hooks.servingTimesEnabled(false);
    bool limits = readParam(SelectParamKey, u"limit_monitor"_s).has_value();
    if (limits && hooks.limitsEnabled)
        hooks.limitsEnabled(true);
}

std::optional<DbValue> Form_Base::readParam(const QString& sql, const QString& name)
{
    QRead1.close();
    QRead1.clearSql();
    QRead1.addSql(sql);
    QRead1.setParam(u"N"_s, DbValue::text(name));
    QRead1.prepare();
    QRead1.open();
    std::optional<DbValue> value;
    if (QRead1.recordCount() > 0)
        value = QRead1.row(0).front();
    QRead1.close();
    return value;
}

void Form_Base::WriteStatement(const QStringList& lines, const Params& params)
{
    try {
        QWrite1.close();
        QWrite1.setSql(lines);
        for (const auto& [name, value] : params)
            QWrite1.setParam(name, value);
        // A write that failed half-way left its transaction open.
        if (TransactionWrite.inTransaction())
            TransactionWrite.rollback();
        TransactionWrite.start();
        QWrite1.prepare();
        QWrite1.execute();
        TransactionWrite.commit();
    } catch (const std::exception& e) {
        qCWarning(lcMonitor).noquote() << "write failed:" << describeWrite(lines, params) << "-"
                                   << Log::oneLine(QString::fromUtf8(e.what()));
        throw;
    }
    qCInfo(lcMonitor).noquote() << "written:" << describeWrite(lines, params);
}

void Form_Base::QMenuGroupAfterScroll()
{
    TimerMenuStr.stop();
    if (menuHooks.itemsEnabled)
        menuHooks.itemsEnabled(false);
    TimerMenuStr.start();
}

void Form_Base::TimerMenuStrTimer()
{
    TimerMenuStr.stop();
    // A failed reload leaves the grid grey: the next move or key tries again.
    if (reportErrors(m_dialogs, nullptr, [this] { LoadMenuStr(); }) && menuHooks.itemsEnabled)
        menuHooks.itemsEnabled(true);
}

void Form_Base::LoadMenuStr()
{
    QMenuStr.close();
    QMenuStr.clearSql();
    QMenuStr.addSql(u"SELECT * FROM MENU_STR"_s);
    const bool section = QMenuGroup.recordCount() > 0 && !QMenuGroup.eof();
    auto sectionField = [&](const QString& name) {
        return section ? QMenuGroup.field(name) : DbValue::integer(0);
    };
    const std::optional<QString> search = menuHooks.searchText ? menuHooks.searchText() : std::nullopt;
    if (search) {
        // The cook's text is bound, never pasted: a quote in it cannot end the pattern, while
        // '%' and '_' still work as the pattern characters they are.
        // The server sizes the parameter like the name it is compared with; sized to the text,
        // a search longer than any name finds nothing instead of failing.
        const QString pattern = u'%' + SystemLocale::current().toUpper(*search) + u'%';
        QMenuStr.addSql(u"WHERE KOD_MENU = :KM AND"_s);
        QMenuStr.addSql(u"UPPER(NAME collate win1251) LIKE CAST(:P AS VARCHAR(%1))"_s.arg(
            std::clamp<qsizetype>(pattern.size(), 100, LongestPattern)));
        QMenuStr.setParam(u"KM"_s, sectionField(u"KOD_SPISOK_MENU"_s));
        QMenuStr.setParam(u"P"_s, DbValue::text(pattern));
    } else {
        QMenuStr.addSql(u"WHERE KOD_MENU_GROUP = :KG"_s);
        QMenuStr.setParam(u"KG"_s, sectionField(u"KOD"_s));
    }
    QMenuStr.prepare();
    QMenuStr.open();
}

qint64 Form_Base::currentMenuItem() const
{
    if (QMenuStr.recordCount() == 0 || QMenuStr.eof())
        return 0;
    return QMenuStr.asInt64(u"KOD"_s).value_or(0);
}

void Form_Base::SetMenuStrLimit(const DbValue& limit)
{
    const qint64 key = currentMenuItem();
    WriteStatement({setLimit}, {{u"LM"_s, limit}, {u"KD"_s, DbValue::integer(key)}});
    // Items never loaded have no statement to run again.
    if (QMenuStr.sql().isEmpty())
        return;
    QMenuStr.close();
    QMenuStr.open();
    QMenuStr.locate(u"KOD"_s, key);
}
