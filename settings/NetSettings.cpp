#include "NetSettings.h"

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
        const auto parts = splitNetworkLine(target);
        for (size_t i = 0; i < 4; ++i)
            f.address[i] = parts[i];
        f.path = parts[4];
    }
    return f;
}

}
