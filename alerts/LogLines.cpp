#include "LogLines.h"

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

QString LogLines::served(const ServedSections& served)
{
    QStringList ticked;
    for (size_t i = 0; i < served.size(); ++i)
        if (served[i])
            ticked << QString::number(i + 1);
    return (ticked.isEmpty() ? u"none"_s : ticked.join(u", "_s)) + u" (and 800, 900)"_s;
}

QStringList LogLines::announced(QList<Journal::Line> lines)
{
    auto number = [](const Journal::Line& line) {
        bool ok = false;
        const qint64 n = line.number.toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    };
    // Orders without a number first, as the server sorts nulls.
    std::stable_sort(lines.begin(), lines.end(), [&](const Journal::Line& a, const Journal::Line& b) {
        return std::pair(number(a), a.line) < std::pair(number(b), b.line);
    });
    QStringList texts;
    for (const Journal::Line& line : std::as_const(lines)) {
        const std::optional<qint64> n = number(line);
        texts << u"order %1: %2 x%3 (section %4)"_s.arg(n ? QString::number(*n) : u"?"_s, line.dish,
                                                       QString::number(line.quantity), QString::number(line.section));
    }
    return texts;
}

QString LogLines::health(const Health& health)
{
    const QString format = u"yyyy-MM-dd HH:mm:ss"_s;
    return u"last %1 min: %2 polls done, %3 failed, %4 announcement(s), last new dish %5, connection %6"_s.arg(
        QString::number(HealthMinutes), QString::number(health.polls), QString::number(health.failures),
        QString::number(health.announcements),
        health.lastNewLine.isValid() ? u"at "_s + health.lastNewLine.toString(format) : u"none since the start"_s,
        health.lostSince.isValid() ? u"lost since "_s + health.lostSince.toString(format) : u"up"_s);
}
