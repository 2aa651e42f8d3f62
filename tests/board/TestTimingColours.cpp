// The three colour rules, row by row of their summary, and the board's statements built from
// the served sections.

#include "BoardSql.h"
#include "ReferenceSql.h"
#include "TimingColours.h"

#include <QTest>
#include <cmath>

using namespace TimingColours;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TimingColours::Line)
Q_DECLARE_METATYPE(TimingColours::Colours)
Q_DECLARE_METATYPE(TimingColours::Urgency)

namespace {
constexpr double T = 46'000.5; // the server's now, in days
double at(double minutesFromNow)
{
    return T + minutesFromNow / 1440.0;
}

Line line(int myTime, int myAlarm, qint64 allTime, std::optional<double> end = {}, int state = 2)
{
    return Line{myTime, myAlarm, allTime, end, state};
}

// A row held since an earlier read: its ALL_TIME as read then, and when it is due.
Line held(int myAlarm, qint64 allTime, double due)
{
    Line l = line(20, myAlarm, allTime);
    l.due = due;
    return l;
}

const Colours none{};
const Colours green{Green};
const Colours maroon{Maroon};
const Colours red{Red};
Colours ready(std::optional<QColor> text = {})
{
    return Colours{text, true};
}

// The contrast of two colours as the guides for readable text reckon it, 1 to 21.
double contrast(const QColor& a, const QColor& b)
{
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A line's text reads at 4.5:1 against its background, the grid's own colour (`own`) where the
// rule gives none; a ready background is plainly darker than a grid's white.
void readable(const Colours& colours, const QColor& own)
{
    const QColor background = colours.readyBackground ? ReadyBackground : QColor(Qt::white);
    const QColor text = colours.text.value_or(own);
    QVERIFY2(contrast(text, background) >= 4.5, qPrintable(u"%1 on %2: %3:1"_s.arg(text.name(), background.name())
                                                              .arg(contrast(text, background), 0, 'f', 2)));
    QVERIFY(contrast(ReadyBackground, Qt::white) >= 1.35);
}
}

class TestTimingColours : public QObject {
    Q_OBJECT
private slots:
    void panelRule_data();
    void panelRule();
    void hotQueueRule_data();
    void hotQueueRule();
    void readyOnlyRule();
    void noServerTimeKeepsTheGridsColours();
    void minutesAtTheTurns_data();
    void minutesAtTheTurns();
    void sectionCondition_data();
    void sectionCondition();
    void panelStatement();
};

void TestTimingColours::panelRule_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<Colours>("colours");
    QTest::addColumn<bool>("asksTime");
    QTest::newRow("ready, cooking time") << line(20, 5, -30, {}, 3) << ready(Green) << false;
    QTest::newRow("ready past serving time") << line(20, 5, -30, at(-10), 3) << ready(Green) << false;
    QTest::newRow("ready, no cooking time") << line(0, 5, 0, at(-10), 4) << ready() << false;
    QTest::newRow("no cooking, no serving time") << line(0, 5, -100) << none << false;
    QTest::newRow("alarm not reached") << line(20, 5, 6) << green << false;
    QTest::newRow("ALL_TIME = MY_ALARM") << line(20, 5, 5) << green << false;
    QTest::newRow("within alarm") << line(20, 5, 4) << maroon << false;
    QTest::newRow("ALL_TIME = 0") << line(20, 5, 0) << maroon << false;
    QTest::newRow("overdue") << line(20, 5, -1) << red << false;
    QTest::newRow("MY_ALARM 0, ALL_TIME 0") << line(20, 0, 0) << green << false;
    QTest::newRow("MY_ALARM 0, overdue") << line(20, 0, -1) << red << false;
    QTest::newRow("serving, before alarm") << line(20, 5, 9, at(6)) << green << true;
    QTest::newRow("serving, at alarm point") << line(20, 5, 9, at(5)) << green << true;
    QTest::newRow("serving, past alarm point") << line(20, 5, 9, at(4.99)) << maroon << true;
    QTest::newRow("serving, at serving time") << line(20, 5, 9, at(0)) << maroon << true;
    QTest::newRow("serving, past") << line(20, 5, 9, at(-0.01)) << red << true;
    QTest::newRow("no cooking, serving ahead") << line(0, 5, 9, at(0)) << none << true;
    QTest::newRow("no cooking, serving past") << line(0, 5, 9, at(-1)) << red << true;
}

void TestTimingColours::panelRule()
{
    QFETCH(Line, line);
    int asked = 0;
    Colours c = panel(line, [&] { ++asked; return std::optional<double>(T); });
    QTEST(c, "colours");
    QTEST(asked > 0, "asksTime");
    readable(c, Navy);
    readable(c, Qt::black);
}

void TestTimingColours::hotQueueRule_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<Colours>("colours");
    QTest::newRow("ALL_TIME above alarm keeps green") << line(20, 5, 6) << none;
    QTest::newRow("ALL_TIME = MY_ALARM") << line(20, 5, 5) << none;
    QTest::newRow("within alarm") << line(20, 5, 0) << maroon;
    QTest::newRow("overdue") << line(20, 5, -3) << red;
    QTest::newRow("serving, before alarm point") << line(20, 5, 9, at(5.01)) << maroon;
    QTest::newRow("serving, at alarm point") << line(20, 5, 9, at(5)) << red;
    QTest::newRow("no cooking, serving ahead") << line(0, 5, 9, at(0)) << maroon;
    QTest::newRow("no cooking, serving past") << line(0, 5, 9, at(-0.01)) << red;
    QTest::newRow("ready state not consulted") << line(20, 5, 9, at(30), 3) << maroon;
}

void TestTimingColours::hotQueueRule()
{
    QFETCH(Line, line);
    const Colours c = hotQueue(line, [] { return std::optional<double>(T); });
    QTEST(c, "colours");
    readable(c, Green);
    readable(readyOnly(line), Qt::black);
}

void TestTimingColours::readyOnlyRule()
{
    QCOMPARE(readyOnly(line(20, 5, -10, at(-5), 3)), ready());
    QCOMPARE(readyOnly(line(20, 5, -10, at(-5), 2)), none);
}

void TestTimingColours::noServerTimeKeepsTheGridsColours()
{
    auto lost = [] { return std::optional<double>(); };
    QCOMPARE(panel(line(20, 5, 9, at(-1)), lost), none);
    QCOMPARE(hotQueue(line(20, 5, 9, at(-1)), lost), none);
}

void TestTimingColours::minutesAtTheTurns_data()
{
    // The figure each grid shows beside the dish, and the second cue of its panel colour.
    QTest::addColumn<Line>("line");
    QTest::addColumn<QString>("panelFigure");
    QTest::addColumn<QString>("hotFigure");
    QTest::addColumn<Urgency>("cue");
    const QString minus(QChar(0x2212));
    QTest::newRow("database's minutes") << line(20, 5, 7) << u"7"_s << u"7"_s << Urgency::None;
    QTest::newRow("database's minutes, due") << line(20, 5, 0) << u"0"_s << u"0"_s << Urgency::Due;
    QTest::newRow("database's minutes, late") << line(20, 5, -4) << minus + u"4"_s << minus + u"4"_s << Urgency::Late;
    QTest::newRow("serving, 12.5 ahead") << line(20, 5, 99, at(12.5)) << u"12"_s << u"12"_s << Urgency::None;
    QTest::newRow("serving, exactly 5 ahead") << line(20, 5, 99, at(5)) << u"5"_s << u"5"_s << Urgency::None;
    QTest::newRow("serving, just under 5") << line(20, 5, 99, at(4.9999)) << u"4"_s << u"4"_s << Urgency::Due;
    QTest::newRow("serving, at the moment") << line(20, 5, 99, at(0)) << u"0"_s << u"0"_s << Urgency::Due;
    QTest::newRow("serving, half a minute late") << line(20, 5, 99, at(-0.5)) << minus + u"1"_s << minus + u"1"_s
                                                 << Urgency::Late;
    QTest::newRow("serving, a minute late") << line(20, 5, 99, at(-1)) << minus + u"1"_s << minus + u"1"_s
                                            << Urgency::Late;
    QTest::newRow("serving, just over a minute") << line(20, 5, 99, at(-1.001)) << minus + u"2"_s << minus + u"2"_s
                                                 << Urgency::Late;
    QTest::newRow("held, read as 7, now 5.5 ahead") << held(5, 7, at(5.5)) << u"5"_s << u"5"_s << Urgency::None;
    QTest::newRow("held, at the moment") << held(5, 7, at(0)) << u"0"_s << u"0"_s << Urgency::Due;
    QTest::newRow("held, a millisecond late") << held(5, 0, at(-1.0 / 60'000)) << minus + u"1"_s << minus + u"1"_s
                                              << Urgency::Late;
    QTest::newRow("held, 61 minutes late") << held(0, 3, at(-61)) << minus + u"61"_s << minus + u"61"_s << Urgency::Late;
    QTest::newRow("ready, late") << line(20, 5, -10, at(-10), 3) << QString() << minus + u"10"_s << Urgency::None;
    QTest::newRow("no cooking, no serving time") << line(0, 5, 0) << QString() << u"0"_s << Urgency::None;
    QTest::newRow("no cooking, serving ahead") << line(0, 5, 0, at(9)) << u"9"_s << u"9"_s << Urgency::None;
    QTest::newRow("no cooking, serving past") << line(0, 5, 0, at(-3)) << minus + u"3"_s << minus + u"3"_s
                                              << Urgency::Late;
}

void TestTimingColours::minutesAtTheTurns()
{
    QFETCH(Line, line);
    QFETCH(Urgency, cue);
    auto now = [] { return std::optional<double>(T); };
    auto text = [](std::optional<qint64> m) { return m ? minutesText(*m) : QString(); };
    QTEST(text(panelMinutes(line, now)), "panelFigure");
    QTEST(text(hotQueueMinutes(line, now)), "hotFigure");
    const Colours colours = panel(line, now);
    QCOMPARE(urgency(colours), cue);
    // A figure below zero exactly where the panel shows red.
    if (std::optional<qint64> m = panelMinutes(line, now))
        QCOMPARE(*m < 0, colours.text == Red);
    // Colours that need no server time are known without it, and are the same.
    const std::optional<Colours> timeFree = withoutServerTime(panel, line);
    QCOMPARE(timeFree.has_value(), (!line.endTime && !line.due) || line.printSection >= 3);
    QVERIFY(!timeFree || *timeFree == colours);
    auto lost = [] { return std::optional<double>(); };
    QCOMPARE(panelMinutes(line, lost).has_value(), !line.endTime && panelMinutes(line, now).has_value());
    // A held row's figure stays until the grid's timer for its next turn, and turns then.
    if (line.due && panelMinutes(line, now)) {
        const qint64 next = msToNextTurn(*line.due, T);
        auto after = [&](qint64 ms) { return *panelMinutes(line, [&] { return std::optional<double>(T + ms / 86'400'000.0); }); };
        QVERIFY(next > 0 && next <= 60'000);
        QCOMPARE(after(next - 1), *panelMinutes(line, now));
        QCOMPARE(after(next), *panelMinutes(line, now) - 1);
    }
}

void TestTimingColours::sectionCondition_data()
{
    QTest::addColumn<ServedSections>("served");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no box") << ServedSections{} << QStringList{"AND (SECTION = 800 OR SECTION = 900", ")"};
    QTest::newRow("box 2") << ServedSections{false, true}
                           << QStringList{"AND (SECTION = 800 OR SECTION = 900", "OR SECTION = 2", ")"};
    QTest::newRow("boxes 1 and 3") << ServedSections{true, false, true}
                                   << QStringList{"AND (SECTION = 800 OR SECTION = 900", "OR SECTION = 1",
                                                  "OR SECTION = 3", ")"};
}

void TestTimingColours::sectionCondition()
{
    QFETCH(ServedSections, served);
    QTEST(BoardSql::sectionCondition(served), "lines");
    QStringList list = ReferenceSql::orderList(true, served);
    QCOMPARE(list[6], u"AND ZAKAZ_STR.PRINT_SECTION > 1"_s);
    QCOMPARE(list[7], u"AND (ZAKAZ_STR.SECTION = 800 OR ZAKAZ_STR.SECTION = 900"_s);
    QCOMPARE(list.last(), u"GROUP BY 1, 2, 3, 4, 5, 6 ORDER BY 1, 2, 3, 4, 5"_s);
    QCOMPARE(ReferenceSql::orderList(false, served)[6], u"AND ZAKAZ_STR.PRINT_SECTION = 2"_s);
    // The statement in use asks for a line of the served sections in its EXISTS; that it gives
    // the reference's rows, test_statement_equivalence checks on a database.
    for (bool all : {false, true})
        QVERIFY(BoardSql::orderList(all, served).join(u'\n').contains(
            BoardSql::sectionCondition(served, u"ZAKAZ_STR.SECTION"_s).join(u'\n')));
}

void TestTimingColours::panelStatement()
{
    QStringList sql = BoardSql::panelLines({false, false, false, false, true});
    const QString keyLine = u"WHERE KOD_ZAKAZ = :K AND (SECTION = 800 OR SECTION = 900"_s;
    QCOMPARE(sql.count(keyLine), 3);
    QCOMPARE(sql.count(u"OR SECTION = 5"_s), 3);
    QCOMPARE(sql.count(u"UNION"_s), 2);
    QCOMPARE(sql.size(), 24);
    QCOMPARE(sql.last(), u"ORDER BY 12"_s);
    QCOMPARE(sql.join(u'\n').remove(u" + 0"_s).replace(u":K"_s, u"5600000123"_s),
             ReferenceSql::panelLines(5'600'000'123LL, {false, false, false, false, true}).join(u'\n'));
}

QTEST_APPLESS_MAIN(TestTimingColours)
#include "TestTimingColours.moc"
