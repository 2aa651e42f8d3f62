#pragma once
// What the connection settings window makes of "Net.txt", free of any window: the mode from
// line 1 in any letter case, and line 2 split into the database path and, in network mode, the
// four groups of the server's address, or else the server's name or IPv6 address with its port.

#include <QString>
#include <QStringList>
#include <array>

namespace NetSettings {

struct Fields {
    int mode = -1; // 0 local, 1 network, -1 neither: the window keeps what it shows
    QString path;
    std::array<QString, 4> address; // network mode only
    QString server; // network mode with a host name or an IPv6 address: "host[/port]"; the groups empty
};

// Whether "host[/port]" names a server the client library can reach: a host name (letters,
// digits, hyphens, dots), or an IPv6 address, bare or in brackets; a port from 1 to 65535.
bool validServer(const QString& server);
// The server as Net.txt keeps it: an IPv6 address in brackets, so that its colons are not
// taken for the one before the path.
QString storedServer(const QString& server);

Fields read(const QStringList& lines);

// The four address groups and the path of a network line: each group ends at its separator;
// when one is missing, the group being read takes the rest and what follows stays empty.
std::array<QString, 5> splitNetworkLine(QString rest);

}
