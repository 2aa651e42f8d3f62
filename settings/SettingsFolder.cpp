#include "SettingsFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace SettingsFolder {

namespace {
// Root may write to /usr/bin, but files the package manager does not know would stay there
// after the package has gone.
bool systemProgramFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + u'/';
    for (const char* prefix : {"/usr/", "/bin/", "/sbin/"})
        if (path.startsWith(QLatin1String(prefix)))
            return true;
#else
    Q_UNUSED(folder);
#endif
    return false;
}
}

QString choose(const QString& executableFolder, const QString& userFolder)
{
    const QFileInfo folder(executableFolder);
    if (folder.isDir() && folder.isWritable() && !systemProgramFolder(executableFolder))
        return executableFolder;
    return userFolder;
}

void make(const QString& folder)
{
    if (QFileInfo::exists(folder))
        return;
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString forThisProgram()
{
    // A name of its own rather than the program's Russian title, which would make a folder
    // with blanks in its name.
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/kitchen-monitor");
    const QString folder = choose(QCoreApplication::applicationDirPath(), user);
    // A folder that cannot be made shows up as the first file that cannot be written.
    make(folder);
    return folder;
}

}
