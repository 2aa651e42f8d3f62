// The journal at its full size: 90 days of a kitchen of 3,000 lines a day (about 1,000 orders,
// each line announced and made ready, one press in ten a single dish, one in fifty taken back).
// Prints the size a day takes, an event's write time (median and 90th percentile) on the full
// journal, and how long the statistics window takes to open and the day's CSV to be made. Then,
// on the project's own Firebird server, the polling cycle that announces three new lines with
// the journal against the same without it, interleaved round by round: the journal's whole part
// of a poll (reading the lines' details from the server and writing them).
// The journal is made once and kept in build/bench-data/journal-90d for later runs.
//
//   build/bench/bench_journal [rounds]     (default 200 writes of each kind)

#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "Form_Stat.h"
#include "AppState.h"
#include "Journal.h"
#include "JournalLines.h"
#include "JournalStats.h"
#include "MonitorRig.h"
#include "OrderRows.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
constexpr int Days = 90;
constexpr int LinesPerDay = 3000;
const QStringList Dishes{u"Борщ"_s, u"Пельмени"_s, u"Чай чёрный"_s, u"Стейк"_s, u"Рис с овощами"_s, u"Салат"_s,
                         u"Солянка"_s, u"Блины"_s, u"Кофе"_s, u"Хлеб"_s, u"Голубцы"_s, u"Компот"_s};

Journal::Line makeLine(qint64 key, const QDateTime& start, QRandomGenerator& random)
{
    Journal::Line l;
    l.line = key;
    l.order = key / 3;
    l.number = QString::number(key / 3 % 500 + 1);
    l.waiter = u"Петров Сергей"_s;
    l.dish = Dishes[int(random.bounded(Dishes.size()))];
    l.section = int(random.bounded(1, 4));
    l.quantity = 1;
    l.start = start;
    l.due = start.addSecs(60 * 20);
    l.stateBefore = 2;
    return l;
}

double quantile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return JournalStats::quantile(values, p);
}

// A day of service from 10:00 to 22:00: orders of three lines, announced, then made ready.
qint64 fillDay(Journal& journal, FakeClock& clock, const QDate& date, qint64 key, QRandomGenerator& random)
{
    const int orders = LinesPerDay / 3;
    for (int o = 0; o < orders; ++o) {
        const QDateTime start(date, QTime(10, 0).addSecs(o * 12 * 3600 / orders));
        QList<Journal::Line> lines;
        for (int i = 0; i < 3; ++i)
            lines << makeLine(key++, start, random);
        clock.time = start.addSecs(5);
        journal.announced(lines);
        clock.time = start.addSecs(60 * int(random.bounded(5, 40)));
        if (o % 10 == 0) {
            journal.action(Journal::Kind::DishReady, lines.mid(0, 1));
            journal.action(Journal::Kind::OrderReady, lines.mid(1));
        } else
            journal.action(Journal::Kind::OrderReady, lines);
        if (o % 50 == 0) {
            clock.time = clock.time.addSecs(30);
            for (Journal::Line& l : lines)
                l.stateBefore = 3;
            journal.action(Journal::Kind::Undo, lines);
        }
    }
    return key;
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const int rounds = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    const QString folder = QStringLiteral(BUILD_DIR) + u"/bench-data/journal-90d"_s;
    QDir().mkpath(folder);
    const QDate today = QDate::currentDate();
    FakeClock clock;
    QRandomGenerator random(25);
    Journal journal;
    const QString path = QDir(folder).filePath(Journal::FileName);
    if (!QFile::exists(path)) {
        std::printf("making the 90-day journal…\n");
        std::fflush(stdout);
        clock.time = QDateTime(today.addDays(-Days), QTime(9, 0));
        if (!journal.open(folder, &clock))
            return 1;
        qint64 key = 1;
        for (int d = Days; d >= 1; --d)
            key = fillDay(journal, clock, today.addDays(-d), key, random);
        journal.close();
    }
    clock.time = QDateTime(today, QTime(12, 0));
    if (!journal.open(folder, &clock))
        return 1;
    // The size a day takes: closing checkpoints, so the file holds everything.
    journal.close();
    journal.open(folder, &clock);
    const double mbPerDay = double(QFileInfo(path).size()) / Days / 1e6;

    // An event's write on the full journal: announcements of three lines and presses.
    QList<double> announce, press;
    qint64 key = 900000000;
    for (int i = 0; i < rounds; ++i) {
        clock.time = clock.time.addSecs(5);
        QList<Journal::Line> lines;
        for (int j = 0; j < 3; ++j)
            lines << makeLine(key++, clock.time, random);
        QElapsedTimer t;
        t.start();
        journal.announced(lines);
        announce << t.nsecsElapsed() / 1e6;
        t.start();
        journal.action(Journal::Kind::OrderReady, lines);
        press << t.nsecsElapsed() / 1e6;
    }

    // The statistics window on a day of the full journal: built, filled, shown and painted.
    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display{QSize(1024, 768)};
    QList<double> open, csv;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        Form_Stat window(state, journal, dialogs, display, clock, nullptr);
        window.sections = [] { return QList<int>{1, 2, 3, 800, 900}; };
        window.DateDay->setDate(today.addDays(-1));
        window.fill();
        window.show();
        window.grab();
        open << t.nsecsElapsed() / 1e6;
        t.start();
        const QByteArray bytes = JournalStats::csv(journal, today.addDays(-1), today.addDays(-1));
        csv << t.nsecsElapsed() / 1e6;
        if (bytes.size() < 1000)
            return 1;
    }
    // Polls that announce three new lines, and the journal's part of them measured on its own:
    // the lines' details read from the server and written to the journal.
    QList<double> polls, reads, writes;
    {
        TestDatabase db(true);
        if (!db.error().isEmpty()) {
            std::printf("no database: %s\n", qPrintable(db.error()));
            return 1;
        }
        MonitorRig rig(db.name());
        for (int i = 0; i < 5; ++i)
            rig.main().sectionBoxes()[size_t(i)]->setChecked(i == 0);
        rig.polling().onTimer();
        const qint64 order = db.value(u"SELECT FIRST 1 KOD FROM ZAKAZ ORDER BY KOD DESC"_s).toInt64().value_or(0);
        for (int i = 0; i < std::min(rounds, 100); ++i) {
            for (int j = 0; j < 3; ++j)
                db.exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, SECTION, PRINT_SECTION, NAME_BLUDO, KOLVO, MY_TIME, MY_ALARM,"
                        " START_TIME) VALUES (%1, 1, 1, 'Борщ', 1, 20, 5, CURRENT_TIMESTAMP)"_s.arg(order));
            QElapsedTimer t;
            t.start();
            rig.polling().onTimer();
            polls << t.nsecsElapsed() / 1e6;
            const qint64 last = db.value(u"SELECT MAX(KOD) FROM ZAKAZ_STR"_s).toInt64().value_or(0);
            t.start();
            const QList<Journal::Line> lines = JournalLines::read(rig.base(), rig.windows->journal(), QList<qint64>{last - 2, last - 1, last});
            reads << t.nsecsElapsed() / 1e6;
            t.start();
            rig.windows->journal().announced(lines);
            writes << t.nsecsElapsed() / 1e6;
        }
    }

    std::printf("journal of %d days at %d lines a day: %.1f MB, %.2f MB a day\n", Days, LinesPerDay,
                double(QFileInfo(path).size()) / 1e6, mbPerDay);
    std::printf("announcement write (3 lines): median %.2f ms, 90th percentile %.2f ms\n", quantile(announce, 0.5),
                quantile(announce, 0.9));
    std::printf("press write (3 lines): median %.2f ms, 90th percentile %.2f ms\n", quantile(press, 0.5),
                quantile(press, 0.9));
    std::printf("statistics window open: median %.0f ms, slowest %.0f ms\n", quantile(open, 0.5), quantile(open, 1));
    std::printf("one day's CSV: median %.0f ms\n", quantile(csv, 0.5));
    std::printf("poll announcing 3 lines: median %.1f ms, 90th percentile %.1f ms\n", quantile(polls, 0.5), quantile(polls, 0.9));
    std::printf("its journal part: reading the lines %.2f / %.2f ms, writing them %.2f / %.2f ms (median / 90th percentile)\n",
                quantile(reads, 0.5), quantile(reads, 0.9), quantile(writes, 0.5), quantile(writes, 0.9));
    std::printf("journal part / poll: %.2fx\n", (quantile(reads, 0.5) + quantile(writes, 0.5)) / quantile(polls, 0.5));
    return 0;
}
