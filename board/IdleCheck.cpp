#include "IdleCheck.h"

quint32 IdleCheck::idleSeconds(quint32 now, quint32 lastInput)
{
    return quint32(now - lastInput) / 1000;
}

int IdleCheck::limit(const QString& text)
{
    bool ok = false;
    const int seconds = text.toInt(&ok);
    return ok ? seconds : DefaultLimit;
}

bool IdleCheck::exceeded(quint32 now, quint32 lastInput, const QString& limitText)
{
    return qint64(idleSeconds(now, lastInput)) > qint64(limit(limitText));
}
