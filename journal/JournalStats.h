#pragma once
// The kitchen's speed read from the journal: for one day and the sections given, per dish how
// many were made ready (by this monitor's presses and seen ready elsewhere), the median and 90th
// percentile of the minutes from "shown" (this monitor's announcement, else the order) to
// "ready", how many were ready after their due moment and by how many minutes; the same for the
// whole day; per hour how many were ready and how many late; the events of a span of days as
// CSV for a spreadsheet, and a shift's summary as one line of the log. A "ready" later taken
// back, here or elsewhere, does not count.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QDateTime>
#include <array>

struct sqlite3;
class Journal;

namespace JournalStats {
struct Dish {
    QString dish;
    int ready = 0;     // own + elsewhere
    int own = 0;       // by this monitor's presses
    int elsewhere = 0; // by another monitor or the point of sale
    double median = 0; // minutes
    double p90 = 0;
    int late = 0;
    double lateMean = 0; // minutes past the due moment, of the late ones
    double lateWorst = 0;
};
struct Day {
    Dish total;         // the whole span, its dish empty
    QList<Dish> dishes; // by name
    std::array<int, 24> readyByHour{};
    std::array<int, 24> lateByHour{};
};

// sections empty: every section. A closed journal gives no figures.
Day day(const Journal& journal, const QDate& date, const QList<int>& sections);
Day day(sqlite3* db, const QDate& date, const QList<int>& sections);
// The same for the readies from `from` up to (not including) `to`.
Day span(sqlite3* db, const QDateTime& from, const QDateTime& to, const QList<int>& sections);
// A shift's summary as one line of the log: "shift summary (why): 42 dishes cooked, …".
QString summaryLine(const Day& day, const QString& why);
// The figures' titles, the first the dish's, and a dish's cells after its name (decimal commas).
extern const QStringList FigureTitles;
extern const QString WholeSpan; // "Весь день", the name of the line of the whole span
QStringList figureCells(const Dish& d);
// The p-th quantile (0..1) of sorted values, between the neighbouring values.
double quantile(const QList<double>& sorted, double p);

// UTF-8 with a BOM, ";" between fields, CR LF line ends, decimal commas: as spreadsheets in
// Russian locales open it. From the first day to the last, both included: the events, then the
// figures per dish of the sections given (every section when empty), the whole span first.
QByteArray csv(const Journal& journal, const QDate& from, const QDate& to, const QList<int>& sections = {});
// The same on a journal file opened by itself, as the export from the command line does. A read
// that fails part way (a damaged file) gives what was read and says why in error.
QByteArray csv(sqlite3* db, const QDate& from, const QDate& to, QString* error = nullptr,
               const QList<int>& sections = {});
}
