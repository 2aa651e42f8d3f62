#include "DbErrorText.h"

#include "DbError.h"

using namespace Qt::StringLiterals;

namespace {
QString lowerFirst(const QString& text)
{
    return text.isEmpty() ? text : text.left(1).toLower() + text.mid(1);
}

QString withServerText(const QString& said, const QString& serverText)
{
    return serverText.isEmpty() ? said : said + u" Сообщение сервера: "_s + serverText;
}
}

QString DbErrorText::actionFailed(const QString& notDone, const std::exception& error)
{
    const auto* db = dynamic_cast<const DbError*>(&error);
    QString said;
    if (db && db->connectionLost())
        said = u"Нет связи с базой данных: %1."_s.arg(lowerFirst(notDone));
    else if (db && db->conflict())
        said = u"%1: строку сейчас меняет другая программа. Повторите через несколько секунд."_s.arg(notDone);
    else if (db)
        said = u"%1: сервер базы данных отклонил запрос."_s.arg(notDone);
    else
        said = notDone + u'.';
    return said + u"\n\n"_s + QString::fromUtf8(error.what());
}

QString DbErrorText::connectionLost(const QString& serverText)
{
    return withServerText(u"Сервер не отвечает или недоступен по сети."_s, serverText);
}

QString DbErrorText::rowsHeld(const QString& serverText)
{
    return withServerText(u"Строки заняты другой программой."_s, serverText);
}

QString DbErrorText::requestFailed(const QString& serverText)
{
    return withServerText(u"Сервер отклонил запрос."_s, serverText);
}
