#pragma once
// The kitchen's speed read from the journal: for one day and the sections given, per dish how
// many were made ready, the median and 90th percentile of the minutes from the order to
// "ready", and how many were ready after their due moment; per hour how many were ready and how
// many late; and the events of a span of days as CSV for a spreadsheet. A "ready" later taken
// back does not count.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <array>

struct sqlite3;
class Journal;

namespace JournalStats {
struct Dish {
    QString dish;
    int ready = 0;
    double median = 0; // minutes
    double p90 = 0;
    int late = 0;
};
struct Day {
    QList<Dish> dishes; // by name
    std::array<int, 24> readyByHour{};
    std::array<int, 24> lateByHour{};
};

// sections empty: every section. A closed journal gives no figures.
Day day(const Journal& journal, const QDate& date, const QList<int>& sections);
Day day(sqlite3* db, const QDate& date, const QList<int>& sections);
// The p-th quantile (0..1) of sorted values, between the neighbouring values.
double quantile(const QList<double>& sorted, double p);

// UTF-8 with a BOM, ";" between fields, CR LF line ends, decimal commas: as spreadsheets in
// Russian locales open it. From the first day to the last, both included.
QByteArray csv(const Journal& journal, const QDate& from, const QDate& to);
// The same on a journal file opened by itself, as the export from the command line does. A read
// that fails part way (a damaged file) gives what was read and says why in error.
QByteArray csv(sqlite3* db, const QDate& from, const QDate& to, QString* error = nullptr);
}
