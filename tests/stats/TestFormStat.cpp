// The statistics window on a real journal: the day's figures for the served sections, the bar
// chart's hours, and "Сохранить CSV…" saved, cancelled or refused with one box.

#include "AppState.h"
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "Form_Stat.h"
#include "Journal.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFormStat : public QObject {
    Q_OBJECT
private slots:
    void saveCsv_data();
    void saveCsv();
};

void TestFormStat::saveCsv_data()
{
    QTest::addColumn<QString>("file"); // in the test's folder; empty: cancelled
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved") << u"day.csv"_s << true;
    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("no such folder") << u"missing/day.csv"_s << false;
}

void TestFormStat::saveCsv()
{
    QFETCH(QString, file);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    FakeClock clock;
    clock.time = QDateTime(QDate(2026, 12, 7), QTime(13, 30));
    Journal journal;
    QVERIFY(journal.open(dir.path(), &clock));
    auto line = [](qint64 key, const QString& dish, int section, int minutes, const QDateTime& at) {
        Journal::Line l;
        l.line = key;
        l.dish = dish;
        l.section = section;
        l.start = at.addSecs(-60 * minutes);
        l.due = l.start.addSecs(20 * 60);
        l.stateBefore = 2;
        return l;
    };
    clock.time = QDateTime(QDate(2026, 12, 7), QTime(12, 15));
    journal.action(Journal::Kind::OrderReady, {line(1, u"Борщ"_s, 1, 10, clock.time), line(2, u"Борщ"_s, 1, 30, clock.time),
                                               line(3, u"Стейк"_s, 2, 15, clock.time)});
    // Another monitor's mark, seen by the polling.
    journal.readyElsewhere({line(4, u"Борщ"_s, 1, 5, clock.time.addSecs(300))}, clock.time.addSecs(300));
    clock.time = QDateTime(QDate(2026, 12, 7), QTime(13, 30));

    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display;
    Form_Stat window(state, journal, dialogs, display, clock, nullptr);
    window.sections = [] { return QList<int>{1, 800, 900}; };
    window.DateDay->setDate(clock.now().date());
    QCOMPARE(window.G->rowCount(), 2); // the whole day, and Борщ: section 2 is not served
    QStringList cells;
    for (int column = 0; column < window.G->columnCount(); ++column)
        cells << window.G->horizontalHeaderItem(column)->text() + u": "_s + window.G->item(0, column)->text() + u'/'
                     + window.G->item(1, column)->text();
    QCOMPARE(cells, QStringList({u"Блюдо: Весь день/Борщ"_s, u"Готово: 3/3"_s, u"Здесь: 2/2"_s, u"На других: 1/1"_s,
                                 u"Медиана, мин: 10,0/10,0"_s, u"90 %, мин: 26,0/26,0"_s, u"Опоздали: 1/1"_s,
                                 u"Опоздание ср., мин: 10,0/10,0"_s, u"Опоздание макс., мин: 10,0/10,0"_s}));
    QVERIFY(window.G->item(0, 0)->font().bold());
    QCOMPARE(window.LabelTotal->text(), u"Готово: 3 (здесь 2, на других 1), опоздали: 1"_s);
    // The working day's hours, each with its bars.
    auto* series = qobject_cast<QBarSeries*>(window.Chart->chart()->series().value(0));
    QVERIFY(series);
    QCOMPARE(series->barSets().value(0)->count(), 13);
    QCOMPARE(series->barSets().value(0)->at(2), 3.0); // 12 o'clock
    QCOMPARE(series->barSets().value(1)->at(2), 1.0);

    const QString path = file.isEmpty() ? QString() : dir.filePath(file);
    QString proposed;
    window.askFileName = [&](const QString& name) {
        proposed = name;
        return path;
    };
    QTest::mouseClick(window.BtnCsv, Qt::LeftButton);
    QCOMPARE(proposed, u"journal-2026-12-07.csv"_s);
    QCOMPARE(QFile::exists(path), saved);
    if (saved) {
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        // The titles, three lines of one press and another's mark; the figures' titles after an
        // empty line, the whole day and Борщ.
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines.size(), 10);
        QVERIFY(lines[8].startsWith("\xD0\x91\xD0\xBE\xD1\x80\xD1\x89;3;2;1;")); // "Борщ;3;2;1;"
    }
    QCOMPARE(dialogs.messages.size(), !saved && !file.isEmpty() ? 1 : 0);
    if (!dialogs.messages.isEmpty())
        QVERIFY(dialogs.messages.first().startsWith(u"Не удалось сохранить CSV"_s));
    journal.close();
}

QTEST_MAIN(TestFormStat)
#include "TestFormStat.moc"
