// Any bytes as "Net.txt": the database name the connection takes, and the fields the connection
// settings window fills: no group holds its own separator, and a network line split up to its
// path joins back to itself.
#include "NetSettings.h"
#include "SettingsFile.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> raw = SettingsFile::splitLines(bytes);
    const QByteArray databaseName = raw.size() > 1 ? raw[1] : QByteArray();
    if (databaseName.contains('\n') || databaseName.contains('\r'))
        std::abort();

    const QStringList lines = SettingsFile::decode(bytes);
    const NetSettings::Fields f = NetSettings::read(lines);
    if (f.mode == 1) {
        const QString target = lines.value(1);
        for (int i = 0; i < 3; ++i)
            if (f.address[size_t(i)].contains(u'.'))
                std::abort();
        if (f.address[3].contains(u':'))
            std::abort();
        const QString joined = f.address[0] + u'.' + f.address[1] + u'.' + f.address[2] + u'.' + f.address[3]
                             + u':' + f.path;
        if (!f.path.isEmpty() && joined != target)
            std::abort();
        qsizetype length = f.path.size();
        for (const QString& group : f.address)
            length += group.size();
        if (length > target.size())
            std::abort();
    }
    return 0;
}
