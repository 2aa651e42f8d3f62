#include "NetSettings.h"

#include <algorithm>
#include <cctype>

namespace NetSettings {

std::array<QString, 5> splitNetworkLine(QString rest)
{
    std::array<QString, 5> parts;
    const char16_t separators[] = {u'.', u'.', u'.', u':'};
    for (size_t i = 0; i < 4; ++i) {
        const qsizetype at = rest.indexOf(QChar(separators[i]));
        if (at < 0) {
            parts[i] = rest;
            return parts;
        }
        parts[i] = rest.left(at);
        rest.remove(0, at + 1);
    }
    parts[4] = rest;
    return parts;
}

namespace {
bool validPort(const QString& port)
{
    bool ok = false;
    const int value = port.toInt(&ok);
    return ok && port.size() <= 5 && port.front().isDigit() && value >= 1 && value <= 65535;
}

bool validIpv6(const QString& text)
{
    if (text.count(u':') < 2 || text.count(u"::") > 1 || text.contains(u":::"))
        return false;
    const QStringList groups = text.split(u':');
    if (groups.size() > 8)
        return false;
    for (const QString& g : groups)
        if (g.size() > 4 || !std::all_of(g.cbegin(), g.cend(), [](QChar c) { return isxdigit(c.unicode()) != 0 && c.unicode() < 128; }))
            return false;
    return true;
}

bool validHostName(const QString& text)
{
    if (text.isEmpty() || text.size() > 253)
        return false;
    for (const QString& label : text.split(u'.')) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(u'-') || label.endsWith(u'-'))
            return false;
        for (QChar c : label)
            if (c.unicode() >= 128 || !(c.isLetterOrNumber() || c == u'-'))
                return false;
    }
    return true;
}

// The host and the port of "host[/port]", the brackets of an IPv6 address dropped; nothing for
// a form that is neither.
struct Parts {
    QString host, port;
    bool ok = true;
};
Parts split(const QString& server)
{
    Parts p;
    QString rest;
    if (server.startsWith(u'[')) {
        const qsizetype close = server.indexOf(u']');
        p.ok = close > 0;
        p.host = server.mid(1, close - 1);
        rest = server.mid(close + 1);
    } else {
        const qsizetype slash = server.indexOf(u'/');
        p.host = slash < 0 ? server : server.left(slash);
        rest = slash < 0 ? QString() : server.mid(slash);
    }
    if (!rest.isEmpty()) {
        p.ok = p.ok && rest.startsWith(u'/') && validPort(rest.mid(1));
        p.port = rest.mid(1);
    }
    return p;
}
}

bool validServer(const QString& server)
{
    const Parts p = split(server);
    return p.ok && (validIpv6(p.host) || (!server.startsWith(u'[') && validHostName(p.host)));
}

QString storedServer(const QString& server)
{
    const Parts p = split(server);
    const QString stored = p.host.contains(u':') ? u'[' + p.host + u']' : p.host;
    return p.port.isEmpty() ? stored : stored + u'/' + p.port;
}

Fields read(const QStringList& lines)
{
    Fields f;
    const QString mode = lines.value(0).toUpper();
    const QString target = lines.value(1);
    if (mode == QLatin1String("LOCAL")) {
        f.mode = 0;
        // Drops the "localhost:" in front of the path.
        f.path = target.mid(target.indexOf(u':') + 1);
    } else if (mode == QLatin1String("NET-IP")) {
        f.mode = 1;
        // A name or an IPv6 address: a letter before the path's colon, or a bracket.
        const qsizetype close = target.startsWith(u'[') ? target.indexOf(u']') : -1;
        const qsizetype colon = target.indexOf(u':', std::max<qsizetype>(close, 0));
        const QString server = colon < 0 ? target : target.left(colon);
        if (close > 0 || std::any_of(server.cbegin(), server.cend(), [](QChar c) { return c.isLetter(); })) {
            f.server = server;
            f.path = colon < 0 ? QString() : target.mid(colon + 1);
            return f;
        }
        const auto parts = splitNetworkLine(target);
        for (size_t i = 0; i < 4; ++i)
            f.address[i] = parts[i];
        f.path = parts[4];
    }
    return f;
}

}
