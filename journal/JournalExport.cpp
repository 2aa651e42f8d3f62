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
    const QByteArray csv = JournalStats::csv(db, from, to);
    sqlite3_close(db);
    const bool written = std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout) == size_t(csv.size())
                         && std::fflush(stdout) == 0;
    if (!written) {
        say(u"Не удалось записать CSV"_s);
        return 1;
    }
    return 0;
}
