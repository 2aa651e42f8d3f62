// Any bytes as "psw.txt" unscramble to a password of 15 bytes fewer, or none; and any bytes as a
// password are written and read back unchanged.
#include "Clock.h"
#include "Form_Util.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {
class FixedClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 7), QTime(12, 3, 5, 123)); }
};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FixedClock clock;
    static Form_Util util(clock);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray password = util.UnscramblePassword(bytes);
    if (password.size() != std::max<qsizetype>(0, bytes.size() - 15))
        std::abort();
    if (util.UnscramblePassword(util.ScramblePassword(bytes)) != bytes)
        std::abort();
    return 0;
}
