#include "JournalStats.h"

#include "Journal.h"

#include "JournalTime.h"

#include <QHash>
#include <QMap>
#include <sqlite3.h>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {
QString column(sqlite3_stmt* s, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)));
}

qint64 dayStart(const QDate& date)
{
    return JournalTime::toStored(QDateTime(date, QTime(0, 0)));
}

QDateTime timeColumn(sqlite3_stmt* s, int i)
{
    return sqlite3_column_type(s, i) == SQLITE_NULL ? QDateTime() : JournalTime::fromStored(sqlite3_column_int64(s, i));
}

QString timeText(sqlite3_stmt* s, int i)
{
    return timeColumn(s, i).toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QString kindText(const QString& kind)
{
    static const QHash<QString, QString> texts{
        {u"dish-ready"_s, u"Блюдо готово"_s},           {u"order-ready"_s, u"Заказ полностью готов"_s},
        {u"dish-back"_s, u"Вернуть в работу"_s},        {u"order-back"_s, u"Вернуть заказ в работу"_s},
        {u"undo"_s, u"Отменить"_s},                     {u"recall"_s, u"Готовые: вернуть в работу"_s},
        {u"announced"_s, u"Новое блюдо"_s},             {u"start"_s, u"Запуск"_s},
        {u"end"_s, u"Завершение"_s},
    };
    return texts.value(kind, kind);
}

QString field(QString text)
{
    if (text.contains(u';') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r'))
        text = u'"' + text.replace(u"\""_s, u"\"\""_s) + u'"';
    return text;
}

QString number(double value)
{
    return QString::number(value, 'g', 10).replace(u'.', u',');
}
} // namespace

double JournalStats::quantile(const QList<double>& sorted, double p)
{
    if (sorted.isEmpty())
        return 0;
    const double at = p * double(sorted.size() - 1);
    const auto below = qsizetype(std::floor(at));
    const qsizetype above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - double(below));
}

JournalStats::Day JournalStats::day(const Journal& journal, const QDate& date, const QList<int>& sections)
{
    return day(journal.handle(), date, sections);
}

QByteArray JournalStats::csv(const Journal& journal, const QDate& from, const QDate& to)
{
    return csv(journal.handle(), from, to);
}

JournalStats::Day JournalStats::day(sqlite3* db, const QDate& date, const QList<int>& sections)
{
    Day result;
    if (!db)
        return result;
    QStringList list;
    for (int section : sections)
        list << QString::number(section);
    const QByteArray sql =
        ("SELECT press.at, press_line.dish, press_line.start_time, press_line.due FROM press"
         " JOIN press_line ON press_line.press_id = press.id"
         " WHERE press.at >= ?1 AND press.at < ?2 AND press.kind IN ('dish-ready', 'order-ready')"
         " AND press_line.back_press IS NULL"
         + (list.isEmpty() ? QString() : u" AND press_line.section IN ("_s + list.join(u',') + u')'))
            .toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return result;
    sqlite3_bind_int64(st, 1, dayStart(date));
    sqlite3_bind_int64(st, 2, dayStart(date.addDays(1)));
    QMap<QString, QList<double>> minutes;
    QMap<QString, int> late;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QDateTime at = timeColumn(st, 0);
        const QString dish = column(st, 1);
        const QDateTime start = timeColumn(st, 2);
        const QDateTime due = timeColumn(st, 3);
        const bool isLate = due.isValid() && at > due;
        minutes[dish] << (start.isValid() ? start.msecsTo(at) / 60000.0 : 0);
        late[dish] += isLate;
        ++result.readyByHour[size_t(at.time().hour())];
        result.lateByHour[size_t(at.time().hour())] += isLate;
    }
    sqlite3_finalize(st);
    for (auto it = minutes.begin(); it != minutes.end(); ++it) {
        QList<double>& values = it.value();
        std::sort(values.begin(), values.end());
        result.dishes << Dish{it.key(), int(values.size()), quantile(values, 0.5), quantile(values, 0.9), late[it.key()]};
    }
    return result;
}

QByteArray JournalStats::csv(sqlite3* db, const QDate& from, const QDate& to, QString* error)
{
    QString text = u"Время;Событие;Нажатие;Заказ;Обслуживает;Блюдо;Секция;Кол-во;Заказано;Срок;Состояние до\r\n"_s;
    if (db) {
        // Every event of the span in the order it happened; a press's lines together.
        const char* sql =
            "SELECT press.at, press.kind, press.id, order_number, waiter, dish, section, quantity,"
            " start_time, due, state_before, 1, press_line.rowid FROM press JOIN press_line ON press_line.press_id = press.id"
            " WHERE press.at >= ?1 AND press.at < ?2"
            " UNION ALL SELECT at, 'announced', NULL, order_number, NULL, dish, section, quantity, start_time, due, NULL,"
            " 2, id FROM announced WHERE at >= ?1 AND at < ?2"
            " UNION ALL SELECT at, event, NULL, NULL, NULL, detail, NULL, NULL, NULL, NULL, NULL, 0, id FROM program"
            " WHERE at >= ?1 AND at < ?2"
            " ORDER BY 1, 12, 13";
        sqlite3_stmt* st = nullptr;
        int code = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        if (code == SQLITE_OK) {
            sqlite3_bind_int64(st, 1, dayStart(from));
            sqlite3_bind_int64(st, 2, dayStart(to.addDays(1)));
            while ((code = sqlite3_step(st)) == SQLITE_ROW) {
                QStringList fields;
                fields << timeText(st, 0) << kindText(column(st, 1));
                for (int i = 2; i <= 10; ++i) {
                    if (sqlite3_column_type(st, i) == SQLITE_NULL)
                        fields << QString();
                    else if (i == 7)
                        fields << number(sqlite3_column_double(st, i));
                    else if (i == 8 || i == 9)
                        fields << timeText(st, i);
                    else
                        fields << field(column(st, i));
                }
                text += fields.join(u';') + u"\r\n"_s;
            }
        }
        if (code != SQLITE_OK && code != SQLITE_DONE && error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
