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
    clock.time = QDateTime(QDate(2026, 12, 7), QTime(13, 30));

    AppState state;
    FakeDialogs dialogs;
    FakeDisplayMode display;
    Form_Stat window(state, journal, dialogs, display, clock, nullptr);
    window.sections = [] { return QList<int>{1, 800, 900}; };
    window.DateDay->setDate(clock.now().date());
    QCOMPARE(window.G->rowCount(), 1); // section 2 is not served
    QCOMPARE(window.G->item(0, 0)->text(), u"Борщ"_s);
    QCOMPARE(window.G->item(0, 1)->text(), u"2"_s);
    QCOMPARE(window.G->item(0, 4)->text(), u"1"_s);
    QCOMPARE(window.LabelTotal->text(), u"Готово: 2, опоздали: 1"_s);
    // The working day's hours, each with its bars.
    auto* series = qobject_cast<QBarSeries*>(window.Chart->chart()->series().value(0));
    QVERIFY(series);
    QCOMPARE(series->barSets().value(0)->count(), 13);
    QCOMPARE(series->barSets().value(0)->at(2), 2.0); // 12 o'clock
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
        QCOMPARE(csv.readAll().count("\r\n"), 4); // the titles and three lines of one press
    }
    QCOMPARE(dialogs.messages.size(), !saved && !file.isEmpty() ? 1 : 0);
    if (!dialogs.messages.isEmpty())
        QVERIFY(dialogs.messages.first().startsWith(u"Не удалось сохранить CSV"_s));
    journal.close();
}

QTEST_MAIN(TestFormStat)
#include "TestFormStat.moc"
