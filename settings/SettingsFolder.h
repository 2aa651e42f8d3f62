#pragma once
// Where the settings files live. A program copied into a folder of its own keeps them beside
// itself, as it always has; an installed one, whose folder it cannot write, keeps the same files
// in the user's configuration folder.

#include <QString>

namespace SettingsFolder {
// The executable's folder when this process can write there and it is not one of the system's
// program folders, otherwise the user's folder.
QString choose(const QString& executableFolder, const QString& userFolder);

// Makes a missing folder (and its parents) the way the settings folder is made: its user's
// alone, for it holds the database's password. A folder that exists is left as it is.
void make(const QString& folder);

// The choice for this process: beside the executable, or ~/.config/kitchen-monitor (made when
// missing).
QString forThisProgram();
}
