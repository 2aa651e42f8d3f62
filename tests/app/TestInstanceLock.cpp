// One monitor per settings folder: what a start finds in place of the lock file, and whether it
// goes on, gives way to a live monitor, or ends as a failure the service retries.

#include "InstanceLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Outcome = InstanceLock::Outcome;

class TestInstanceLock : public QObject {
    Q_OBJECT
private slots:
    void leftInPlace_data();
    void leftInPlace();
};

void TestInstanceLock::leftInPlace_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("status"); // -1: the start goes on
    // A power cut in the first second after a start leaves an empty file (it was never synced).
    QTest::newRow("empty file") << u"empty"_s << Outcome::Held << -1;
    QTest::newRow("garbage") << u"garbage"_s << Outcome::Held << -1;
    QTest::newRow("a dead process") << u"dead"_s << Outcome::Held << -1;
    QTest::newRow("unreadable") << u"unreadable"_s << Outcome::Held << -1;
    QTest::newRow("another user's") << u"other user"_s << Outcome::Held << -1;
    QTest::newRow("a folder") << u"folder"_s << Outcome::Held << -1;
    QTest::newRow("a live monitor's") << u"live"_s << Outcome::Running << 0;
    QTest::newRow("no folder to lock in") << u"no folder"_s << Outcome::Failed << 1;
}

void TestInstanceLock::leftInPlace()
{
    QFETCH(QString, left);
    QFETCH(Outcome, outcome);
    QFETCH(int, status);
    QTemporaryDir dir;
    QString folder = dir.path();
    const QString path = QDir(folder).filePath(QString::fromLatin1(InstanceLock::FileName));
    auto write = [&](const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    std::optional<InstanceLock> live;
    if (left == u"empty")
        write({});
    else if (left == u"garbage")
        write("\x7f\x01 nonsense\n");
    else if (left == u"dead")
        write("999999999\n");
    else if (left == u"unreadable") {
        write("1\n");
        QVERIFY(QFile::setPermissions(path, {}));
    } else if (left == u"other user") {
        write("1\n");
        if (::geteuid() == 0)
            QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
    } else if (left == u"folder") {
        QVERIFY(QDir(folder).mkpath(path + u"/inside"_s));
    } else if (left == u"live") {
        live.emplace(folder);
        QCOMPARE(live->take(), Outcome::Held);
    } else if (left == u"no folder") {
        write("x");
        folder = path; // a file where the folder should be
    }

    InstanceLock lock(folder);
    const std::optional<int> end = lock.endOfStart(folder);
    QCOMPARE(end.value_or(-1), status);
    QCOMPARE(InstanceLock(folder).take(), outcome == Outcome::Failed ? Outcome::Failed : Outcome::Running);
    if (outcome == Outcome::Failed) {
        QVERIFY2(!lock.error().isEmpty(), "the log says why");
        QVERIFY(!InstanceLock::holder(folder));
        return;
    }
    QCOMPARE(lock.owner(), QCoreApplication::applicationPid());
    QCOMPARE(InstanceLock::holder(folder).value_or(0), QCoreApplication::applicationPid());
    if (outcome == Outcome::Held) {
        // Only its user reads it: it names the monitor's process.
        struct stat info = {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        QCOMPARE(info.st_uid, ::geteuid());
    }
}

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "TestInstanceLock.moc"
