// Loading and saving rules of the view and sound settings.
#include "Settings.h"
#include "ViewSettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Row {
    const char* rule; // idle, duration, amount or text (size)
    const char16_t* text;
    const char16_t* result;
};

QString load(const QString& rule, const QString& line)
{
    using Key = Settings::Key;
    return Settings::read(rule == u"idle"       ? Key::Idle
                          : rule == u"duration" ? Key::Duration
                          : rule == u"text"     ? Key::TextSize
                                                : Key::Amount,
                          line);
}

bool valid(const QString& rule, const QString& text)
{
    return rule == u"idle"       ? ViewSettings::validIdle(text)
           : rule == u"duration" ? ViewSettings::validDuration(text)
                                 : ViewSettings::validAmount(text);
}

void addRows(std::initializer_list<Row> rows)
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    for (const Row& r : rows)
        QTest::addRow("%s '%s'", r.rule, qPrintable(QString::fromUtf16(r.text)))
            << QString::fromLatin1(r.rule) << QString::fromUtf16(r.text) << QString::fromUtf16(r.result);
}
}

class TestViewSettings : public QObject {
    Q_OBJECT
private slots:
    void loading_data()
    {
        addRows({{"idle", u"0", u"0"}, {"idle", u"0099999999999", u"0099999999999"}, {"idle", u"", u"5"},
                 {"idle", u"5a", u"5"}, {"idle", u" 5", u"5"}, {"idle", u"-5", u"5"}, {"idle", u"\u0663", u"5"},
                 {"duration", u"50", u"50"}, {"duration", u"000050", u"000050"}, {"duration", u"2000", u"2000"},
                 {"duration", u"49", u"50"}, {"duration", u"2001", u"50"}, {"duration", u"300 ", u"50"},
                 {"duration", u"99999999999999999999", u"50"}, {"amount", u"1", u"1"}, {"amount", u"10", u"10"},
                 {"amount", u"0", u"1"}, {"amount", u"11", u"1"}, {"amount", u"", u"1"}, {"text", u"1", u"1"},
                 {"text", u"2", u"2"}, {"text", u"3", u"0"}, {"text", u" 2", u"0"}, {"text", u"02", u"0"},
                 {"text", u"", u"0"}});
    }
    void loading()
    {
        QFETCH(QString, rule);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(load(rule, text), result);
    }

    // The result column says whether saving accepts the text.
    void saveChecks_data()
    {
        addRows({{"idle", u"1", u"ok"}, {"idle", u"2147483647", u"ok"}, {"idle", u"0000000000000000000001", u"ok"},
                 {"idle", u"0", u"no"}, {"idle", u"00", u"no"}, {"idle", u"", u"no"}, {"idle", u"1a", u"no"},
                 {"idle", u"2147483648", u"no"}, {"idle", u"99999999999999999999", u"no"},
                 {"duration", u"49", u"no"}, {"duration", u"50", u"ok"}, {"duration", u"2000", u"ok"},
                 {"duration", u"2001", u"no"}, {"amount", u"0", u"no"}, {"amount", u"1", u"ok"},
                 {"amount", u"10", u"ok"}, {"amount", u"11", u"no"}, {"amount", u"+5", u"no"}});
    }
    void saveChecks()
    {
        QFETCH(QString, rule);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(valid(rule, text), result == u"ok");
    }

    void outputFromStoredBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<int>("item");
        QTest::newRow("one with line end") << QByteArray("1\r\n") << qint64(1) << 1;
        QTest::newRow("blanks and line ends first") << QByteArray("  \r\n 1") << qint64(1) << 1;
        QTest::newRow("empty") << QByteArray() << qint64(0) << 0;
        QTest::newRow("zero") << QByteArray("0") << qint64(0) << 0;
        QTest::newRow("not a number") << QByteArray("x1") << qint64(0) << 0;
        QTest::newRow("negative") << QByteArray("-3") << qint64(-3) << 0;
        QTest::newRow("number then text") << QByteArray("2abc") << qint64(2) << 1;
        QTest::newRow("too large saturates") << QByteArray("99999999999999999999") << qint64(2147483647) << 1;
    }
    void outputFromStoredBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, number);
        QFETCH(int, item);
        const qint64 stored = ViewSettings::firstWholeNumber(bytes);
        QCOMPARE(stored, number);
        QCOMPARE(ViewSettings::outputItem(stored), item);
    }
};

QTEST_APPLESS_MAIN(TestViewSettings)
#include "TestViewSettings.moc"
