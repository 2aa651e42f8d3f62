// What one polling cycle costs, measured against its floor: a bare libfbclient loop in the same
// process that sends the same statements (prepared once, in a read transaction like the
// program's) and only fetches their rows. Both run on the demo shift and on the same shift
// behind a year of closed shifts, interleaved round by round so that the load of a shared
// machine falls on all of them alike; figures are medians. With --history N, also on the demo
// shift behind N lines of history in a database kept in the build folder for later runs (five
// years of a busy kitchen: 5000000). A measurement to read, not a test with a limit.
// scripts/bench runs it; its last lines are for scripts to read.
//
//   build/bench/bench_polling_cycle [rounds] [history lines] [--history N]

#include "AppState.h"
#include "BoardSql.h"
#include "FakeMachine.h"
#include "FbApi.h"
#include "Form_Base.h"
#include "Form_Main.h"
#include "OrderBoard.h"
#include "PollingCycle.h"
#include "PollingSql.h"
#include "ReferenceSql.h"
#include "ProgramWindows.h"
#include "MonitorRig.h"
#include "NewLineProbe.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <memory>
#include <vector>
#include <cstring>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace Firebird;
using namespace Qt::StringLiterals;

namespace {

constexpr ServedSections AllSections{true, true, true, true, true};

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(QList<double> v)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The CPU time of the project's own database server so far: all its threads, user and system.
double serverCpuMs()
{
    QFile pidFile(QStringLiteral(BUILD_DIR "/firebird/pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    QFile stat(u"/proc/%1/stat"_s.arg(QString::fromLatin1(pidFile.readAll().trimmed())));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the command's closing parenthesis; utime and stime are the 14th and 15th.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Drops the file's pages from the operating system's cache; the share of them still cached
// after, or -1 when the machine did not let it be tried.
double dropFromCache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return -1;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ::fdatasync(fd);
    double left = -1;
    if (size > 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0) {
        void* map = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0);
        if (map != MAP_FAILED) {
            const long page = sysconf(_SC_PAGESIZE);
            std::vector<unsigned char> resident(size_t((size + page - 1) / page));
            if (::mincore(map, size_t(size), resident.data()) == 0)
                left = double(std::count_if(resident.begin(), resident.end(), [](unsigned char c) { return c & 1; }))
                       / double(resident.size());
            ::munmap(map, size_t(size));
        }
    }
    ::close(fd);
    return left;
}

struct Sample {
    double ms = 0;
    double cpu = 0;
    int requests = 0;
};

struct Series {
    QList<Sample> samples;
    void add(const Sample& s) { samples << s; }
    double ms() const { return pick(&Sample::ms); }
    double cpu() const { return pick(&Sample::cpu); }
    double requests() const { return pick([](const Sample& s) { return double(s.requests); }); }
    template <typename F>
    double pick(F f) const
    {
        QList<double> v;
        for (const Sample& s : samples)
            v << std::invoke(f, s);
        return median(v);
    }
};

// Paints of the board: each update request of the window paints every grid that needs it in
// one pass; the requests put to the server inside a pass are the colours' server-time reads.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* window, Database& db) : m_window(window), m_db(db) { window->installEventFilter(this); }
    int passes = 0;        // passes that painted a grid
    int gridPaints = 0;
    int timeRequests = 0;  // server-time requests made while painting
    int mostPerPass = 0;   // the most server-time requests in one pass

    void watch(QTableView* grid) { grid->viewport()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched != m_window) {
            ++gridPaints;
            ++m_paintsInPass;
        }
        if (event->type() != QEvent::UpdateRequest || m_inPass)
            return false;
        // Handle the request here, so that the pass can be measured from end to end.
        m_inPass = true;
        const int before = m_db.requestCount();
        m_paintsInPass = 0;
        const bool handled = static_cast<QObject*>(watched)->event(event);
        const int requests = m_db.requestCount() - before;
        if (m_paintsInPass > 0) {
            ++passes;
            timeRequests += requests;
            mostPerPass = std::max(mostPerPass, requests);
        }
        m_inPass = false;
        return handled;
    }

private:
    QObject* m_window;
    Database& m_db;
    bool m_inPass = false;
    int m_paintsInPass = 0;
};

// One monitor: the whole program on a database, serving every section, polled by hand.
struct Monitor : MonitorRig {
    explicit Monitor(const QByteArray& database)
        : MonitorRig(database, [](const QString& folder) {
              QFile sections(QDir(folder).filePath(u"Section.txt"_s));
              if (sections.open(QIODevice::WriteOnly))
                  sections.write("1\r\n2\r\n3\r\n4\r\n5\r\n");
          })
    {
        // The bench polls; the program's own timers would only add work at random moments.
        base().TimerHot.stop();
        main().IdleTimer.stop();
        main().show();
        paints = std::make_unique<PaintCounter>(&main(), base().MyDB);
        paints->watch(main().GHot);
        for (QTableView* grid : main().panelGrids())
            paints->watch(grid);
    }
    // One cycle and the repaint it causes.
    Sample poll()
    {
        const int requests = base().MyDB.requestCount();
        const double cpu = cpuMs();
        QElapsedTimer t;
        t.start();
        windows->forms().Polling->onTimer();
        QCoreApplication::processEvents();
        return {double(t.nsecsElapsed()) / 1e6, cpuMs() - cpu, base().MyDB.requestCount() - requests};
    }

    std::unique_ptr<PaintCounter> paints;
};

// The floor: the cycle's statements through the interface API and nothing else.
class BareLoop {
public:
    explicit BareLoop(const QByteArray& database)
    {
        const QByteArray dpb = Database::buildDpb(TestDatabase::params());
        Fb::Status st;
        IProvider* provider = Fb::master()->getDispatcher();
        m_att = provider->attachDatabase(&st, database.constData(), unsigned(dpb.size()),
                                         reinterpret_cast<const unsigned char*>(dpb.constData()));
        provider->release();
        st.check();
        const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
        m_tra = m_att->startTransaction(&st, sizeof tpb, tpb);
        st.check();
    }
    ~BareLoop()
    {
        Fb::Status st;
        for (auto& [text, statement] : m_statements)
            statement->free(&st);
        m_tra->rollback(&st);
        m_att->detach(&st);
    }

    bool allOrders = false;

    // Hot queue, probe, order list and the first page of panels in one statement, as the
    // program sends them; or the six panels each in its own statement, as it sent them before.
    Sample poll(bool onePanelStatement = true)
    {
        const int requests = m_requests;
        const double cpu = cpuMs();
        QElapsedTimer t;
        t.start();
        timed("hot queue", [&] { run(PollingSql::hotQueue(AllSections, PollingCycle::HotRows)); });
        timed("probe", [&] { run(PollingSql::newLines(AllSections)); });
        std::vector<qint64> orders;
        timed("order list", [&] { orders = run(BoardSql::orderList(allOrders, AllSections), 6); });
        if (onePanelStatement)
            timed("page", [&] { run(panelsInOne(orders)); });
        else
            timed("six panels", [&] {
                for (qint64 order : orders)
                    run(BoardSql::panelLines(AllSections).replaceInStrings(u":K"_s, QString::number(order)));
            });
        return {double(t.nsecsElapsed()) / 1e6, cpuMs() - cpu, m_requests - requests};
    }

    // The program's statement for the page's six panels, its keys written in.
    static QStringList panelsInOne(const std::vector<qint64>& orders)
    {
        QStringList sql = BoardSql::pageLines(AllSections);
        for (size_t i = 0; i < size_t(BoardSql::PagePanels); ++i)
            sql.replaceInStrings(u":K%1"_s.arg(i + 1), i < orders.size() ? QString::number(orders[i]) : u"NULL"_s);
        return sql;
    }

    // Wall milliseconds of each statement, poll by poll.
    std::map<std::string, QList<double>> parts;

    // Wall milliseconds of one run of a select, all rows fetched.
    double time(const QStringList& lines)
    {
        QElapsedTimer t;
        t.start();
        run(lines);
        return double(t.nsecsElapsed()) / 1e6;
    }

private:
    void timed(const char* part, const std::function<void()>& work)
    {
        QElapsedTimer t;
        t.start();
        work();
        parts[part] << double(t.nsecsElapsed()) / 1e6;
    }

    // Runs a select and fetches every row; gives the first keys of the second column, as many
    // as asked for.
    std::vector<qint64> run(const QStringList& lines, size_t keys = 0)
    {
        Fb::Status st;
        const QByteArray text = lines.join(u'\n').toUtf8();
        IStatement*& statement = m_statements[text.toStdString()];
        if (!statement) {
            statement = m_att->prepare(&st, m_tra, 0, text.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
            st.check();
            ++m_requests;
        }
        IMessageMetadata* meta = statement->getOutputMetadata(&st);
        st.check();
        std::vector<unsigned char> buffer(meta->getMessageLength(&st));
        IResultSet* cursor = statement->openCursor(&st, m_tra, nullptr, nullptr, meta, 0);
        st.check();
        ++m_requests;
        std::vector<qint64> found;
        while (cursor->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK) {
            if (found.size() < keys && meta->getType(&st, 1) == SQL_INT64) {
                qint64 key;
                std::memcpy(&key, buffer.data() + meta->getOffset(&st, 1), sizeof key);
                found.push_back(key);
            }
        }
        st.check();
        cursor->close(&st);
        st.check();
        meta->release();
        return found;
    }

    IAttachment* m_att = nullptr;
    ITransaction* m_tra = nullptr;
    std::map<std::string, IStatement*> m_statements;
    int m_requests = 0;
};

void row(const char* name, const Series& s)
{
    std::printf("  %-34s %9.2f %9.2f %9.0f\n", name, s.ms(), s.cpu(), s.requests());
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    int longHistoryLines = 0;
    if (const qsizetype at = args.indexOf(u"--history"_s); at >= 0 && at + 1 < args.size()) {
        longHistoryLines = args[at + 1].toInt();
        args.remove(at, 2);
    }
    const int rounds = args.size() > 0 ? std::max(3, args[0].toInt()) : 60;
    const int historyLines = args.size() > 1 ? std::max(1, args[1].toInt()) : 500000;

    std::printf("making the databases: the demo shift, and the demo shift behind %d lines of history\n",
                historyLines);
    std::fflush(stdout);
    TestDatabase demoDb(true);
    TestDatabase historyDb(true, historyLines);
    std::unique_ptr<TestDatabase> longDb;
    if (longHistoryLines > 0) {
        // The server writes the file: the folder is open to it.
        const QString folder = QStringLiteral(BUILD_DIR "/bench-data");
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        const QString path = u"%1/history-%2.fdb"_s.arg(folder).arg(longHistoryLines);
        std::printf("%s the demo shift behind %d lines of history in %s\n",
                    QFile::exists(path) ? "using" : "making (once, for later runs too)", longHistoryLines,
                    qPrintable(path));
        std::fflush(stdout);
        longDb = std::make_unique<TestDatabase>(path, true, longHistoryLines);
    }
    for (TestDatabase* db : {&demoDb, &historyDb, longDb.get()})
        if (db && !db->error().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(db->error()));
            return 1;
        }

    try {
        Monitor demo(demoDb.name()), history(historyDb.name());
        BareLoop bareDemo(demoDb.name()), bareHistory(historyDb.name());
        std::unique_ptr<Monitor> longHistory = longDb ? std::make_unique<Monitor>(longDb->name()) : nullptr;

        // The first cycles announce the demo's new lines and warm the caches.
        for (int i = 0; i < 3; ++i) {
            demo.poll();
            history.poll();
            bareDemo.poll();
            bareHistory.poll();
            bareDemo.poll(false);
            bareHistory.poll(false);
            if (longHistory)
                longHistory->poll();
        }
        bareDemo.parts.clear();
        bareHistory.parts.clear();

        Series pDemo, pHistory, bDemo, bHistory, oneDemo, oneHistory, pLong;
        QList<double> idleRatio, historyRatio, bareHistoryRatio, oneRatio, longRatio;
        const int paintsBefore = demo.paints->passes, gridPaintsBefore = demo.paints->gridPaints,
                  timeBefore = demo.paints->timeRequests;
        demo.paints->mostPerPass = history.paints->mostPerPass = 0;
        std::vector<std::function<void()>> steps{
            [&] { pDemo.add(demo.poll()); },
            [&] { bDemo.add(bareDemo.poll()); },
            [&] { pHistory.add(history.poll()); },
            [&] { bHistory.add(bareHistory.poll()); },
            [&] { oneDemo.add(bareDemo.poll(false)); },
            [&] { oneHistory.add(bareHistory.poll(false)); },
        };
        if (longHistory)
            steps.push_back([&] { pLong.add(longHistory->poll()); });
        for (int r = 0; r < rounds; ++r) {
            for (size_t i = 0; i < steps.size(); ++i)
                steps[(i + size_t(r)) % steps.size()]();
            idleRatio << pDemo.samples.last().ms / bDemo.samples.last().ms;
            historyRatio << pHistory.samples.last().ms / pDemo.samples.last().ms;
            bareHistoryRatio << bHistory.samples.last().ms / bDemo.samples.last().ms;
            oneRatio << oneDemo.samples.last().ms / bDemo.samples.last().ms;
            if (longHistory)
                longRatio << pLong.samples.last().ms / pDemo.samples.last().ms;
        }
        const double passes = double(demo.paints->passes - paintsBefore) / rounds;
        const double gridPaints = double(demo.paints->gridPaints - gridPaintsBefore) / rounds;
        const double timeRequests = double(demo.paints->timeRequests - timeBefore) / rounds;

        // Every dish changes before each poll, as when the minutes left turn for all of them once
        // a minute: every grid is reset and the board repainted.
        Series changed;
        const int changedPasses = demo.paints->passes, changedTime = demo.paints->timeRequests;
        const int changeRounds = std::max(3, rounds / 4);
        for (int r = 0; r < changeRounds; ++r) {
            demoDb.exec(u"UPDATE ZAKAZ_STR SET KOLVO = KOLVO + 1"_s);
            changed.add(demo.poll());
        }
        const double passesAfterChange = double(demo.paints->passes - changedPasses) / changeRounds;
        const double timeAfterChange = double(demo.paints->timeRequests - changedTime) / changeRounds;

        // All orders: the order list takes every order with a shown or ready line.
        Series allDemo, allHistory;
        QList<double> allRatio;
        demo.main().board().BtnAllClick();
        history.main().board().BtnAllClick();
        const int allRounds = std::max(3, rounds / 4);
        for (int r = 0; r < allRounds; ++r) {
            allDemo.add(demo.poll());
            allHistory.add(history.poll());
            allRatio << allHistory.samples.last().ms / allDemo.samples.last().ms;
        }

        // Five years behind the shift: the search for lines written into closed shifts, which the
        // program makes every ten minutes, 1 poll in 120, each time with the database's pages
        // dropped from the operating system's cache first; then an open shift of 1,000 lines,
        // most of them ready, for the server's CPU time a poll.
        QList<double> searchMs, searchServerMs, cacheLeft, everyShiftMs;
        Series loaded;
        double serverMsPerPoll = 0;
        if (longHistory) {
            FakeClock& clock = longHistory->machine.clock;
            QDateTime at = QDateTime::currentDateTime();
            for (int i = 0; i < 3; ++i) {
                at = at.addSecs(NewLineProbe::EveryShiftMinutes * 60);
                clock.time = at;
                cacheLeft << dropFromCache(longDb->path());
                const double server = serverCpuMs();
                searchMs << longHistory->poll().ms;
                searchServerMs << serverCpuMs() - server;
            }
            // A hundred orders more in the open shift, ten lines each, one of them still shown.
            const QString hundred =
                u"WITH RECURSIVE N AS (SELECT 0 AS I FROM RDB$DATABASE UNION ALL SELECT I + 1 FROM N WHERE I < 99) "_s;
            longDb->exec(u"INSERT INTO ZAKAZ (NUMBER_ZAKAZ, STATUS, INFO_ZAKAZ, KOD_PERSON, KOD_SMENA) "_s + hundred
                         + u"SELECT 1000 + N.I, 0, 'Нагрузка', (SELECT MIN(KOD) FROM PERSON),"
                           " (SELECT MAX(KOD) FROM SMENA WHERE STATUS < 10) FROM N"_s);
            longDb->exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME, MY_ALARM,"
                         " START_TIME) "_s + hundred
                         + u"SELECT Z.KOD, 'Нагрузка', 1, IIF(N.I = 0, 2, 3), MOD(N.I, 5) + 1, 20, 5,"
                           " DATEADD(-MOD(Z.NUMBER_ZAKAZ, 60) MINUTE TO CURRENT_TIMESTAMP) FROM ZAKAZ Z"
                           " CROSS JOIN N WHERE Z.INFO_ZAKAZ = 'Нагрузка' AND N.I < 10"_s);
            // The search as it was: every shift's new lines, through the lines' state.
            BareLoop bareLong(longDb->name());
            for (int i = 0; i < 3; ++i) {
                cacheLeft << dropFromCache(longDb->path());
                everyShiftMs << bareLong.time(PollingSql::everyShiftNewLines(AllSections));
            }
            longHistory->poll();
            const int serverRounds = std::max(rounds, 120);
            const double server = serverCpuMs();
            for (int r = 0; r < serverRounds; ++r)
                loaded.add(longHistory->poll());
            const double perPoll = (serverCpuMs() - server) / serverRounds;
            serverMsPerPoll = (perPoll * 119 + median(searchServerMs)) / 120;
            longDb->exec(u"DELETE FROM ZAKAZ_STR WHERE NAME_BLUDO = 'Нагрузка'"_s);
            longDb->exec(u"DELETE FROM ZAKAZ WHERE INFO_ZAKAZ = 'Нагрузка'"_s);
        }

        const qint64 demoLines = demoDb.value(u"SELECT COUNT(*) FROM ZAKAZ_STR"_s).toInt64().value_or(0);
        // A crowded open shift: 10,000 lines more, shown and not ready, in served sections and
        // not, most of them far from due. The hot queue in one pass against its three-branch union.
        demoDb.exec(u"INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, NAME_BLUDO, KOLVO, PRINT_SECTION, SECTION, MY_TIME, MY_ALARM,"
                    " START_TIME, END_TIME)"
                    " WITH RECURSIVE N AS (SELECT 0 AS I FROM RDB$DATABASE UNION ALL SELECT I + 1 FROM N WHERE I < 99)"
                    " SELECT (SELECT FIRST 1 Z.KOD FROM ZAKAZ Z JOIN SMENA S ON S.KOD = Z.KOD_SMENA WHERE S.STATUS < 10),"
                    " 'Блюдо', 1, 2, MOD(A.I, 7) + 1, MOD(B.I, 40), 5, CURRENT_TIMESTAMP,"
                    " IIF(MOD(B.I, 20) = 0, DATEADD(2 HOUR TO CURRENT_TIMESTAMP), NULL) FROM N A CROSS JOIN N B"_s);
        // The union as the program sent it before: the reference text with the same way in.
        QStringList threePasses = ReferenceSql::hotQueue(AllSections);
        threePasses.replaceInStrings(u"SMENA.KOD = ZAKAZ.KOD_SMENA"_s, u"SMENA.KOD + 0 = ZAKAZ.KOD_SMENA"_s);
        threePasses.replaceInStrings(u"ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD"_s, u"ZAKAZ_STR.KOD_ZAKAZ = ZAKAZ.KOD + 0"_s);
        threePasses.replaceInStrings(u"(PRINT_SECTION = 1 OR PRINT_SECTION = 2)"_s,
                                     u"(PRINT_SECTION + 0 = 1 OR PRINT_SECTION + 0 = 2)"_s);
        QList<double> crowdedOne, crowdedUnion;
        for (int r = 0; r < std::max(3, rounds / 4); ++r) {
            crowdedOne << bareDemo.time(PollingSql::hotQueue(AllSections, PollingCycle::HotRows));
            crowdedUnion << bareDemo.time(threePasses);
        }

        const int mostPerPass = std::max(demo.paints->mostPerPass, history.paints->mostPerPass);
        std::printf("\npolling cycle: %d rounds interleaved, medians; %d orders listed, %d hot dishes on the demo shift;\n"
                    "  order lines: %lld in the demo, %lld in the history database\n",
                    rounds, demo.main().board().orderCount(), demo.base().QHot.recordCount(),
                    qlonglong(demoLines),
                    qlonglong(historyDb.value(u"SELECT COUNT(*) FROM ZAKAZ_STR"_s).toInt64().value_or(0)));
        std::printf("  %-34s %9s %9s %9s\n", "", "wall ms", "cpu ms", "requests");
        row("program, demo (with repaint)", pDemo);
        row("bare loop, demo", bDemo);
        row("bare loop, demo, six panel statements", oneDemo);
        row("program, history (with repaint)", pHistory);
        row("bare loop, history", bHistory);
        row("bare loop, history, six panel statements", oneHistory);
        if (longHistory) {
            row("program, long history (with repaint)", pLong);
            row("program, long history, 1,000 open lines", loaded);
        }
        row("program, demo, every dish changed", changed);
        row("program, demo, all orders", allDemo);
        row("program, history, all orders", allHistory);
        std::printf("  bare loop by statement, demo / history, ms:");
        for (const char* part : {"hot queue", "probe", "order list", "page", "six panels"})
            std::printf(" %s %.2f / %.2f;", part, median(bareDemo.parts[part]), median(bareHistory.parts[part]));
        std::printf("\n");
        std::printf("  board paints per idle poll: %.2f, grid paints: %.2f, server-time requests: %.2f\n", passes,
                    gridPaints, timeRequests);
        std::printf("  board paints per poll after a change: %.2f, server-time requests: %.2f\n", passesAfterChange,
                    timeAfterChange);
        // A minute of an idle board: twelve polls, in one of which the minutes left have turned.
        const double minuteCpu = (pDemo.cpu() * 11 + changed.cpu()) / 1000, bareMinuteCpu = bDemo.cpu() * 12 / 1000;
        std::printf("  client cpu a minute of idle polling: program %.3f s, bare loop %.3f s (%.1fx)\n", minuteCpu,
                    bareMinuteCpu, minuteCpu / std::max(bareMinuteCpu, 1e-9));
        std::printf("  bare loop history / no history: %.2fx; six panel statements / one: %.2fx\n",
                    median(bareHistoryRatio), median(oneRatio));
        std::printf("  all orders, history / no history: %.2fx\n", median(allRatio));
        std::printf("  hot queue on an open shift of 10,000 more lines: one pass %.1f ms, three-branch union %.1f ms\n",
                    median(crowdedOne), median(crowdedUnion));
        if (longHistory) {
            std::printf("  the ten-minute search behind five years: %.1f ms a poll (medians of 3), server cpu %.1f ms;\n",
                        median(searchMs), median(searchServerMs));
            std::printf("  the search through every shift, bare, as it was: %.1f ms\n", median(everyShiftMs));
            if (*std::max_element(cacheLeft.begin(), cacheLeft.end()) < 0)
                std::printf("    the database's pages could not be dropped from the operating system's cache here\n");
            else
                std::printf("    the database's pages dropped from the operating system's cache before each "
                            "(%.0f %% of them still cached after, at most)\n",
                            100 * *std::max_element(cacheLeft.begin(), cacheLeft.end()));
            std::printf("  server cpu a poll, five years, 1,000 open lines: %.2f ms (the search at its share)\n",
                        serverMsPerPoll);
        }
        const int messages = int(demo.machine.dialogs.messages.size() + history.machine.dialogs.messages.size());
        if (messages)
            std::printf("  messages shown: %d\n", messages);
        // The client's own work: the program's poll with its repaint against the bare loop's
        // fetching, summed over the same rounds.
        double programCpu = 0, bareCpu = 0;
        for (const Sample& sample : pDemo.samples)
            programCpu += sample.cpu;
        for (const Sample& sample : bDemo.samples)
            bareCpu += sample.cpu;
        std::printf("idle poll / bare loop: %.2fx\n", median(idleRatio));
        std::printf("history poll / no-history poll: %.2fx\n", median(historyRatio));
        std::printf("server-time requests per board paint: %d\n", mostPerPass);
        std::printf("requests per idle poll: %.0f\n", pDemo.requests());
        if (longHistory) {
            std::printf("five-year history poll / no-history poll: %.2fx\n", median(longRatio));
            std::printf("five-year history poll with the ten-minute search / no-history poll: %.2fx\n",
                        (pLong.ms() * 119 + median(searchMs)) / 120 / pDemo.ms());
        }
        std::printf("idle client CPU / bare loop: %.2fx\n", programCpu / std::max(bareCpu, 1e-9));
        std::printf("idle client CPU a minute / bare loop: %.2fx\n", minuteCpu / std::max(bareMinuteCpu, 1e-9));
        if (longHistory)
            std::printf("monitors per server core, five years, 1,000 open lines: %.0f\n",
                        5000 / std::max(serverMsPerPoll, 1e-9));
        return messages ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
