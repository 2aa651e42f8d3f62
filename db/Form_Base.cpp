#include "Form_Base.h"

#include "Cp1251.h"
#include "DbError.h"
#include "Dialogs.h"
#include "Form_Util.h"
#include "Log.h"
#include "Settings.h"
#include "SettingsFile.h"
#include "SettingsNames.h"
#include "SoundPlayer.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

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

Form_Base::Form_Base(const Settings& settings, Form_Util& util, Dialogs& dialogs, SoundPlayer& player,
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
      TransactionBeep(MyDB, NoWaitWriteParams + QStringList{QStringLiteral("autocommit")}),
      QRead1(MyDB, TransactionRead),
      QWrite1(MyDB, TransactionWrite),
      QHot(MyDB, TransactionRead),
      QBeep(MyDB, TransactionRead),
      QBeepWide(MyDB, TransactionRead),
      QW(MyDB, TransactionBeep),
      QJournal(MyDB, TransactionRead),
      MyStoredProc(MyDB, TransactionRead),
      MediaPlayer1(player),
      m_settings(settings),
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
    // The cooks' presses, serving times and limits take turns on the one write query: each of
    // their few texts is prepared once, only the bound keys change.
    QWrite1.KeepPrepared = 8;
    // The marking of new lines and its one-by-one form after a held line.
    QW.KeepPrepared = 1;
    TimerHot.setInterval(5000);
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
    if (hooks.readSwitches)
        reportErrors(m_dialogs, nullptr, [&] { hooks.readSwitches(); });
    openSoundFile();
    return true;
}

void Form_Base::openSoundFile()
{
    const QString soundFile = m_settings.soundFile();
    if (!soundFile.isEmpty()) {
        qCInfo(lcMonitor).noquote() << "sound file:" << soundFile;
        // Played only when the sound is set to the file, so its player loads at the first play.
        reportErrors(m_dialogs, nullptr, [&] { MediaPlayer1.openLater(soundFile); });
    }
}

void Form_Base::readSwitchesIfPending()
{
    if (!std::exchange(m_switchesPending, false))
        return;
    try {
        if (hooks.readSwitches)
            hooks.readSwitches();
    } catch (const std::exception& e) {
        qCWarning(lcMonitor).noquote() << "switches not read:" << Log::oneLine(QString::fromUtf8(e.what()));
    }
}

void Form_Base::readConnectionSettings()
{
    // The database name is taken byte for byte: the server, a colon, the file's path.
    const QString folder = m_settings.folder();
    QList<QByteArray> net = SettingsFile::splitLines(SettingsFile(folder, SettingsNames::Net).readBytes());
    MyDB.DatabaseName = net.size() > 1 ? net[1] : QByteArray();
    SettingsFile psw(folder, SettingsNames::Psw);
    if (psw.exists())
        MyDB.Params = connectionParams(m_util.UnscramblePassword(psw.readBytes()));
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
