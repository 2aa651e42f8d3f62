#include "LogLines.h"

#include "Query.h"

using namespace Qt::StringLiterals;

QString LogLines::served(const ServedSections& served)
{
    QStringList ticked;
    for (size_t i = 0; i < served.size(); ++i)
        if (served[i])
            ticked << QString::number(i + 1);
    return (ticked.isEmpty() ? u"none"_s : ticked.join(u", "_s)) + u" (and 800, 900)"_s;
}

QStringList LogLines::announcedSql(const QList<qint64>& keys)
{
    QStringList list;
    for (qint64 key : keys)
        list << QString::number(key);
    return {u"SELECT ZAKAZ_STR.KOD, ZAKAZ.NUMBER_ZAKAZ, ZAKAZ_STR.NAME_BLUDO, ZAKAZ_STR.KOLVO, ZAKAZ_STR.SECTION"_s,
            u"FROM ZAKAZ_STR JOIN ZAKAZ ON ZAKAZ.KOD = ZAKAZ_STR.KOD_ZAKAZ"_s,
            u"WHERE ZAKAZ_STR.KOD IN (%1)"_s.arg(list.join(u", "_s)),
            u"ORDER BY ZAKAZ.NUMBER_ZAKAZ, ZAKAZ_STR.KOD"_s};
}

QStringList LogLines::announced(Query& named)
{
    QStringList lines;
    for (named.first(); !named.eof(); named.next()) {
        const auto number = named.asInt64(u"NUMBER_ZAKAZ"_s);
        const auto quantity = named.asDouble(u"KOLVO"_s);
        lines << u"order %1: %2 x%3 (section %4)"_s.arg(
            number ? QString::number(*number) : u"?"_s, named.asString(u"NAME_BLUDO"_s).value_or(QString()),
            quantity ? QString::number(*quantity) : u"?"_s,
            QString::number(named.asInt64(u"SECTION"_s).value_or(0)));
    }
    return lines;
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
