// The settings file codec, against real files in a scratch folder, and the choice of that folder.
#include "Cp1251.h"
#include "PlatformError.h"
#include "FileBytes.h"
#include "SettingsFile.h"
#include "SettingsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QByteArray soundPathBytes = "\xd1:\\\xc7\xe2\xf3\xea.wav"; // "С:\Звук.wav" in cp1251

// Makes a folder that this process cannot write to, as an installed program's, or writable
// again: the write permission, and for root, whom permissions do not stop, the immutable flag.
bool setReadOnly(const QString& path, bool on)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | (on ? QFile::Permissions() : QFile::WriteOwner));
    QProcess::execute(u"chattr"_s, {on ? u"+i"_s : u"-i"_s, path});
    return QFileInfo(path).isWritable() != on;
}
}

class TestSettingsFile : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    SettingsFile file() const { return SettingsFile(m_dir->path(), u"Test.txt"_s); }
    void put(const QByteArray& bytes) const { QVERIFY(putFile(file().path(), bytes)); }
    QByteArray bytesOnDisk() const { return fileBytes(file().path()); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file has no lines") << QByteArray() << QStringList();
        QTest::newRow("CR LF ends the only line") << QByteArray("1\r\n") << QStringList{u"1"_s};
        QTest::newRow("end of file ends the last line") << QByteArray("50\r\n1") << QStringList{u"50"_s, u"1"_s};
        QTest::newRow("bare LF ends a line") << QByteArray("a\nb\n") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("empty line in the middle") << QByteArray("a\n\nb") << QStringList{u"a"_s, u""_s, u"b"_s};
        QTest::newRow("line end alone") << QByteArray("\r\n") << QStringList{u""_s};
        QTest::newRow("lone CR dropped") << QByteArray("a\rb\r\nc\r") << QStringList{u"ab"_s, u"c"_s};
        QTest::newRow("blanks kept") << QByteArray(" Full \r\n") << QStringList{u" Full "_s};
        QTest::newRow("cp1251 text") << soundPathBytes + "\r\n" << QStringList{u"С:\\Звук.wav"_s};
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        put(bytes);
        QCOMPARE(file().readLines(), lines);
        QCOMPARE(file().line(lines.size(), u"fallback"_s), u"fallback"_s);
        if (!lines.isEmpty())
            QCOMPARE(file().line(lines.size() - 1, u"fallback"_s), lines.last());
    }

    void writing_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no lines") << QStringList() << QByteArray();
        QTest::newRow("one empty line") << QStringList{u""_s} << QByteArray("\r\n");
        QTest::newRow("last line ends in CR LF too") << QStringList{u"50"_s, u"1"_s} << QByteArray("50\r\n1\r\n");
        QTest::newRow("blanks kept") << QStringList{u"Full "_s} << QByteArray("Full \r\n");
        QTest::newRow("cp1251 text") << QStringList{u"С:\\Звук.wav"_s} << soundPathBytes + "\r\n";
    }
    void writing()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        put("a much longer old content\r\nthat must go\r\n");
        file().write(lines);
        QCOMPARE(bytesOnDisk(), bytes);
        QCOMPARE(file().readLines(), lines);
    }

    void everyByteAsTheSystemReadsIt()
    {
        QStringDecoder system("windows-1251");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        QCOMPARE(Cp1251::decode(all), system.decode(all));
        QCOMPARE(Cp1251::encode(Cp1251::decode(all)), all);
    }

    void refusedTextLeavesFileWhole_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Chinese") << QStringList{u"C:\\音乐.wav"_s};
        QTest::newRow("emoji") << QStringList{u"\U0001F600"_s};
        QTest::newRow("bad second line") << QStringList{u"ok"_s, u"中"_s};
    }
    void refusedTextLeavesFileWhole()
    {
        QFETCH(QStringList, lines);
        put("old\r\n");
        QVERIFY_THROWS_EXCEPTION(PlatformError, file().write(lines));
        QCOMPARE(bytesOnDisk(), QByteArray("old\r\n"));
    }

    void writingIntoMissingFolderThrows()
    {
        const SettingsFile missing(QDir(m_dir->path()).filePath(u"absent"_s), u"Test.txt"_s);
        QVERIFY_THROWS_EXCEPTION(PlatformError, missing.write({u"1"_s}));
        QVERIFY(!missing.exists());
    }

    void folderChoice_data()
    {
        QTest::addColumn<QString>("executableFolder"); // under the scratch folder, or absolute
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("beside");
        QTest::newRow("copied program: beside it") << u"program"_s << false << true;
        QTest::newRow("read-only folder: the user's") << u"program"_s << true << false;
        QTest::newRow("system folder, even for root: the user's") << u"/usr/bin"_s << false << false;
    }
    void folderChoice()
    {
        QFETCH(QString, executableFolder);
        QFETCH(bool, readOnly);
        QFETCH(bool, beside);
        const QString folder = QDir(m_dir->path()).filePath(executableFolder);
        QVERIFY(QDir().mkpath(folder));
        if (readOnly && !setReadOnly(folder, true))
            QSKIP("This file system cannot make a folder read-only for root");
        const QString user = m_dir->filePath(u"home/.config/kitchen-monitor"_s);
        const QString chosen = SettingsFolder::choose(folder, user);
        if (readOnly)
            QVERIFY(setReadOnly(folder, false));
        QCOMPARE(chosen, beside ? folder : user);
        // The user's folder is made for that user alone; a folder that was there keeps its mode.
        SettingsFolder::make(chosen);
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(QFileInfo(chosen).isDir());
        QCOMPARE(bool(QFile::permissions(chosen) & others), beside);
    }

    void createIfMissingWritesOnlyWhenMissing()
    {
        QVERIFY(file().createIfMissing({u"50"_s, u"1"_s}));
        QCOMPARE(bytesOnDisk(), QByteArray("50\r\n1\r\n"));
        put(""); // an empty file is not a missing one
        QVERIFY(!file().createIfMissing({u"50"_s, u"1"_s}));
        QCOMPARE(bytesOnDisk(), QByteArray());
    }
};

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "TestSettingsFile.moc"
