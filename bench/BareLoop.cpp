// The floor that scripts/bench measures the monitor's process against: a loop with no window,
// no event loop and no timers of its own, that every 5 seconds sends the monitor's probe on a
// read transaction, and when the probe's change signature moves, the board's reads the monitor
// then makes (the hot queue, the order list's page, the page's lines). It writes nothing, so it
// never takes an announcement from the monitor beside it on the same database.
//
//   build/bench/bare_loop 'host/port:/path/kitchen.fdb'

#include "BoardSql.h"
#include "Database.h"
#include "DbError.h"
#include "PollingSql.h"
#include "Query.h"
#include "Transaction.h"

#include <chrono>
#include <cstdio>
#include <thread>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_loop DATABASE\n");
        return 2;
    }
    const ServedSections served{true, false, false, false, false}; // the monitor's default
    Database db;
    db.DatabaseName = QByteArray(argv[1]);
    db.Params = {"user_name=SYSDBA", "password=quiltbank", "lc_ctype=WIN1251"};
    try {
        db.open();
        Transaction read(db, {u"read_committed"_s, u"rec_version"_s, u"nowait"_s, u"read"_s});
        Query probe(db, read), hot(db, read), list(db, read), page(db, read);
        probe.setSql(PollingSql::newLines(served));
        hot.setSql(PollingSql::hotQueue(served, 20));
        list.setSql(BoardSql::orderPage(false, served));
        page.setSql(BoardSql::pageLines(served));
        Query::Row shown;
        for (;;) {
            probe.open();
            // Its last row but the server's time at its end, as the monitor compares it.
            Query::Row signature = probe.recordCount() ? probe.row(probe.recordCount() - 1) : Query::Row();
            if (!signature.empty())
                signature.pop_back();
            if (signature != shown) {
                shown = signature;
                hot.open();
                list.setParam(u"LO"_s, DbValue::integer(0));
                list.setParam(u"HI"_s, DbValue::integer(7));
                list.setParam(u"C"_s, DbValue());
                list.open();
                // The first page: places 1 to 6 (column P), keys in column KOD.
                for (int i = 0; i < BoardSql::PagePanels; ++i)
                    page.setParam(u"K%1"_s.arg(i + 1),
                                  i < list.recordCount() && list.row(i)[6].toInt64() <= BoardSql::PagePanels
                                      ? list.row(i)[1] : DbValue());
                page.open();
            }
            std::this_thread::sleep_for(std::chrono::seconds(5));
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "bare_loop: %s\n", qPrintable(e.text()));
        return 1;
    }
}
