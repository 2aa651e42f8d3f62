// The code page's own table against the system's converter, byte by byte, both ways.

#include "Cp1251.h"
#include "PlatformError.h"

#include <QStringDecoder>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCp1251 : public QObject {
    Q_OBJECT
private slots:
    void everyByteAsTheSystemReadsIt()
    {
        QStringDecoder system("windows-1251");
        if (!system.isValid())
            QSKIP("this Qt has no windows-1251 converter to compare with");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        const QString text = Cp1251::decode(all);
        QCOMPARE(text, system.decode(all));
        QCOMPARE(Cp1251::encode(text), all);
    }
    void characterOutsideTheCodePageRefused()
    {
        QVERIFY_THROWS_EXCEPTION(PlatformError, Cp1251::encode(u"Суп ☕"_s));
        QVERIFY_THROWS_EXCEPTION(PlatformError, Cp1251::encode(u"Ǆ"_s));
    }
};

QTEST_APPLESS_MAIN(TestCp1251)
#include "TestCp1251.moc"
