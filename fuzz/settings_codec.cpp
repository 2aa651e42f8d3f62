// Any bytes as a settings file: decoded line by line, the values loaded by their rules, and the
// lines written back read as the same lines.
#include "Settings.h"
#include "SettingsFile.h"
#include "ViewSettings.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = SettingsFile::decode(bytes);
    for (const QString& line : lines) {
        for (const Settings::Entry& entry : Settings::table())
            Settings::read(entry.key, line);
        ViewSettings::validIdle(line);
        if (ViewSettings::validDuration(line) && !ViewSettings::digitRunInRange(line, 50, 2000))
            std::abort();
    }
    const qint64 output = ViewSettings::firstWholeNumber(bytes);
    if (output > 2147483647 || output < -2147483647)
        std::abort();
    QByteArray written;
    try {
        written = SettingsFile::encode(lines);
    } catch (const std::exception&) {
        return 0; // a character the code page lacks: refused, as it should be
    }
    if (SettingsFile::decode(written) != lines)
        std::abort();
    return 0;
}
