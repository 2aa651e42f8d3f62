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
        {u"end"_s, u"Завершение"_s},                   {u"ready-elsewhere"_s, u"Готово на другом мониторе"_s},
        {u"back-elsewhere"_s, u"Возвращено на другом мониторе"_s},
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

const QStringList JournalStats::FigureTitles{u"Блюдо"_s, u"Готово"_s, u"Здесь"_s, u"На других"_s, u"Медиана, мин"_s,
                                             u"90 %, мин"_s, u"Опоздали"_s, u"Опоздание ср., мин"_s, u"Опоздание макс., мин"_s};
const QString JournalStats::WholeSpan = u"Весь день"_s;

QStringList JournalStats::figureCells(const Dish& d)
{
    const auto minutes = [](double value) { return QString::number(value, 'f', 1).replace(u'.', u','); };
    return {QString::number(d.ready), QString::number(d.own), QString::number(d.elsewhere), minutes(d.median), minutes(d.p90),
            QString::number(d.late), d.late ? minutes(d.lateMean) : QString(), d.late ? minutes(d.lateWorst) : QString()};
}

double JournalStats::quantile(const QList<double>& sorted, double p)
{
    if (sorted.isEmpty())
        return 0;
    const double at = p * double(sorted.size() - 1);
    const auto below = qsizetype(std::floor(at));
    const qsizetype above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - double(below));
}

namespace {
JournalStats::Dish figures(const QString& dish, QList<double> minutes, const QList<double>& lateBy, int own)
{
    std::sort(minutes.begin(), minutes.end());
    JournalStats::Dish d{dish, int(minutes.size()), own, int(minutes.size()) - own,
                         JournalStats::quantile(minutes, 0.5), JournalStats::quantile(minutes, 0.9), int(lateBy.size())};
    for (double by : lateBy) {
        d.lateMean += by / double(lateBy.size());
        d.lateWorst = std::max(d.lateWorst, by);
    }
    return d;
}
}

JournalStats::Day JournalStats::day(const Journal& journal, const QDate& date, const QList<int>& sections)
{
    return day(journal.handle(), date, sections);
}

QByteArray JournalStats::csv(const Journal& journal, const QDate& from, const QDate& to, const QList<int>& sections)
{
    return csv(journal.handle(), from, to, nullptr, sections);
}

JournalStats::Day JournalStats::day(sqlite3* db, const QDate& date, const QList<int>& sections)
{
    return span(db, QDateTime(date, QTime(0, 0)), QDateTime(date.addDays(1), QTime(0, 0)), sections);
}

JournalStats::Day JournalStats::span(sqlite3* db, const QDateTime& from, const QDateTime& to, const QList<int>& sections)
{
    Day result;
    if (!db)
        return result;
    QStringList list;
    for (int section : sections)
        list << QString::number(section);
    // A line is "shown" when this monitor announced it (the first time, up to a day before);
    // one announced by another monitor, when it was ordered.
    const QByteArray sql =
        ("SELECT press.at, press_line.dish, COALESCE(shown.at, press_line.start_time), press_line.due,"
         " press.kind = 'ready-elsewhere' FROM press"
         " JOIN press_line ON press_line.press_id = press.id"
         " LEFT JOIN (SELECT line_key, MIN(at) AS at FROM announced WHERE at >= ?1 - 86400000 AND at < ?2"
         " GROUP BY line_key) AS shown ON shown.line_key = press_line.line_key"
         " WHERE press.at >= ?1 AND press.at < ?2 AND press.kind IN ('dish-ready', 'order-ready', 'ready-elsewhere')"
         " AND press_line.back_press IS NULL"
         + (list.isEmpty() ? QString() : u" AND press_line.section IN ("_s + list.join(u',') + u')'))
            .toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return result;
    sqlite3_bind_int64(st, 1, JournalTime::toStored(from));
    sqlite3_bind_int64(st, 2, JournalTime::toStored(to));
    QMap<QString, QList<double>> minutes, lateBy;
    QMap<QString, int> own;
    QList<double> allMinutes, allLateBy;
    int allOwn = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QDateTime at = timeColumn(st, 0);
        const QString dish = column(st, 1);
        const QDateTime shown = timeColumn(st, 2);
        const QDateTime due = timeColumn(st, 3);
        const bool isLate = due.isValid() && at > due;
        const double took = shown.isValid() ? std::max<qint64>(0, shown.msecsTo(at)) / 60000.0 : 0;
        minutes[dish] << took;
        allMinutes << took;
        lateBy[dish]; // every dish has its entry
        if (isLate) {
            lateBy[dish] << due.msecsTo(at) / 60000.0;
            allLateBy << due.msecsTo(at) / 60000.0;
        }
        const bool mine = sqlite3_column_int(st, 4) == 0;
        own[dish] += mine;
        allOwn += mine;
        ++result.readyByHour[size_t(at.time().hour())];
        result.lateByHour[size_t(at.time().hour())] += isLate;
    }
    sqlite3_finalize(st);
    for (auto it = minutes.cbegin(); it != minutes.cend(); ++it)
        result.dishes << figures(it.key(), it.value(), lateBy[it.key()], own[it.key()]);
    result.total = figures(QString(), allMinutes, allLateBy, allOwn);
    return result;
}

QString JournalStats::summaryLine(const Day& day, const QString& why)
{
    const Dish& t = day.total;
    QString line = u"shift summary (%1): %2 dishes cooked (%3 here, %4 elsewhere)"_s.arg(why).arg(t.ready).arg(t.own).arg(t.elsewhere);
    if (t.ready == 0)
        return line;
    line += u", median %1 min, p90 %2 min, %3 late"_s.arg(t.median, 0, 'f', 1).arg(t.p90, 0, 'f', 1).arg(t.late);
    if (t.late > 0)
        line += u" (worst %1 min late)"_s.arg(t.lateWorst, 0, 'f', 1);
    const auto busiest = std::max_element(day.readyByHour.cbegin(), day.readyByHour.cend());
    const int hour = int(busiest - day.readyByHour.cbegin());
    line += u", busiest hour %1:00-%2:00 (%3 dishes)"_s.arg(hour, 2, 10, QChar(u'0')).arg((hour + 1) % 24, 2, 10, QChar(u'0')).arg(*busiest);
    return line;
}

QByteArray JournalStats::csv(sqlite3* db, const QDate& from, const QDate& to, QString* error, const QList<int>& sections)
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
        // The figures as the statistics window shows them.
        const Day figures = span(db, QDateTime(from, QTime(0, 0)), QDateTime(to.addDays(1), QTime(0, 0)), sections);
        text += u"\r\n"_s + FigureTitles.join(u';') + u"\r\n"_s;
        for (const Dish& d : QList<Dish>{figures.total} + figures.dishes)
            text += (QStringList{field(d.dish.isEmpty() ? WholeSpan : d.dish)} + figureCells(d)).join(u';') + u"\r\n"_s;
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
