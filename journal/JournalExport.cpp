#include "JournalExport.h"

#include "Journal.h"
#include "JournalStats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {
void say(const QString& text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stderr);
}

// SQLite's own check of the file's pages: empty when sound, otherwise what is wrong.
QString check(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    QStringList problems;
    int code = sqlite3_prepare_v2(db, "PRAGMA quick_check(3)", -1, &st, nullptr);
    while (code == SQLITE_OK && (code = sqlite3_step(st)) == SQLITE_ROW) {
        const QString row = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (row != u"ok")
            problems << row;
        code = SQLITE_OK;
    }
    if (code != SQLITE_DONE && code != SQLITE_OK)
        problems << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    return problems.join(u"; "_s);
}
}

int JournalExport::run(const QStringList& dates, const std::function<QString()>& folder)
{
    const QDate from = dates.isEmpty() ? QDate() : QDate::fromString(dates[0], Qt::ISODate);
    const QDate to = dates.size() > 1 ? QDate::fromString(dates[1], Qt::ISODate) : from;
    if (!from.isValid() || !to.isValid() || dates.size() > 2 || to < from) {
        say(u"Использование: kitchen-monitor --export-journal ГГГГ-ММ-ДД [ГГГГ-ММ-ДД] > файл.csv"_s);
        return 2;
    }
    const QString path = QDir(folder()).filePath(Journal::FileName);
    if (!QFile::exists(path)) {
        say(u"Журнал монитора не найден: "_s + path);
        return 1;
    }
    sqlite3* db = nullptr;
    // Read only, beside the monitor that may be writing it.
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        say(u"Журнал монитора не открывается: "_s + path + u" ("_s + QString::fromUtf8(sqlite3_errmsg(db)) + u')');
        sqlite3_close(db);
        return 1;
    }
    sqlite3_busy_timeout(db, 2000);
    // A damaged file may still give some rows, or none: either way it is said, not a short CSV
    // passed off as the days' events.
    QString damage = check(db);
    const QByteArray csv = damage.isEmpty() ? JournalStats::csv(db, from, to, &damage) : QByteArray();
    sqlite3_close(db);
    if (!damage.isEmpty()) {
        say(u"Журнал монитора повреждён: "_s + path + u" ("_s + damage + u')');
        return 1;
    }
    const bool written = std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout) == size_t(csv.size())
                         && std::fflush(stdout) == 0;
    if (!written) {
        say(u"Не удалось записать CSV"_s);
        return 1;
    }
    return 0;
}
