#pragma once
// What the connection settings window makes of "Net.txt", free of any window: the mode from
// line 1 in any letter case, and line 2 split into the database path and, in network mode, the
// four groups of the server's address.

#include <QString>
#include <QStringList>
#include <array>

namespace NetSettings {

struct Fields {
    int mode = -1; // 0 local, 1 network, -1 neither: the window keeps what it shows
    QString path;
    std::array<QString, 4> address; // network mode only
};

Fields read(const QStringList& lines);

// The four address groups and the path of a network line: each group ends at its separator;
// when one is missing, the group being read takes the rest and what follows stays empty.
std::array<QString, 5> splitNetworkLine(QString rest);

}
