#include "SettingsTransfer.h"

#include "SettingsFile.h"
#include "SettingsNames.h"

#include <QFile>
#include <QSaveFile>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
void say(const QString& text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stderr);
}

bool oneFileArgument(const QStringList& arguments, const char* option)
{
    if (arguments.size() == 1 && !arguments.first().isEmpty())
        return true;
    say(u"Использование: kitchen-monitor --%1 ФАЙЛ"_s.arg(QLatin1String(option)));
    return false;
}
}

QStringList SettingsTransfer::names()
{
    using namespace SettingsNames;
    return {Screen, Net, Section, Gruppa, Idle, Signal, TSound, FSound, Sound, TextSize, Keys, Psw};
}

QByteArray SettingsTransfer::pack(const QString& folder, bool withPassword)
{
    QByteArray out = Header + '\n';
    int count = 0;
    for (const QString& name : names()) {
        const SettingsFile file(folder, name);
        if ((name == SettingsNames::Psw && !withPassword) || !file.exists())
            continue;
        out += name.toLatin1() + ' ' + file.readBytes().toBase64() + '\n';
        ++count;
    }
    return out + "end " + QByteArray::number(count) + '\n';
}

SettingsTransfer::Unpacked SettingsTransfer::unpack(const QByteArray& bytes)
{
    Unpacked u;
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.value(0).trimmed() != Header) {
        u.error = u"это не файл настроек монитора кухни"_s;
        return u;
    }
    const QByteArray last = lines.size() > 1 ? lines.last().trimmed() : QByteArray();
    bool counted = false;
    const int count = last.startsWith("end ") ? last.mid(4).toInt(&counted) : -1;
    if (!counted || count != lines.size() - 2) {
        u.error = u"файл неполный (нет строки конца или не хватает файлов)"_s;
        return u;
    }
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> parts = lines[i].trimmed().split(' ');
        const QString name = QString::fromLatin1(parts.value(0));
        const auto decoded = QByteArray::fromBase64Encoding(parts.value(1), QByteArray::AbortOnBase64DecodingErrors);
        if (parts.size() != 2 || !names().contains(name) || !decoded) {
            u.error = u"строка %1 испорчена"_s.arg(i + 1);
            u.files.clear();
            return u;
        }
        u.files.append({name, *decoded});
    }
    return u;
}

int SettingsTransfer::exportTo(const QStringList& arguments, const QString& folder, bool withPassword)
{
    if (!oneFileArgument(arguments, "export-settings"))
        return 64;
    // Readable by its user only: it may hold the password, and it names the server.
    QSaveFile file(arguments.first());
    const QByteArray bytes = pack(folder, withPassword);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        say(u"Не удалось записать файл настроек %1: %2"_s.arg(arguments.first(), file.errorString()));
        return 1;
    }
    say(u"Настройки из %1 записаны в %2%3"_s.arg(folder, arguments.first(),
                                                withPassword ? u" (с паролем)"_s : u" (без пароля)"_s));
    return 0;
}

int SettingsTransfer::importFrom(const QStringList& arguments, const QString& folder)
{
    if (!oneFileArgument(arguments, "import-settings"))
        return 64;
    QFile file(arguments.first());
    if (!file.open(QIODevice::ReadOnly)) {
        say(u"Не удалось прочитать файл настроек %1: %2"_s.arg(arguments.first(), file.errorString()));
        return 1;
    }
    const Unpacked u = unpack(file.readAll());
    if (!u.error.isEmpty()) {
        say(u"Файл настроек %1 не принят, ничего не изменено: %2"_s.arg(arguments.first(), u.error));
        return 1;
    }
    QStringList written;
    try {
        for (const auto& [name, bytes] : u.files) {
            const SettingsFile target(folder, name);
            if (name == SettingsNames::Psw)
                target.writePrivateBytes(bytes);
            else
                target.writeBytes(bytes);
            written << name;
        }
    } catch (const std::exception& e) {
        say(u"Не удалось записать настройки в %1 (записаны: %2): %3"_s.arg(
            folder, written.isEmpty() ? u"ни одного"_s : written.join(u", "_s), QString::fromUtf8(e.what())));
        return 1;
    }
    say(u"В %1 записаны настройки: %2. Они вступят в силу при следующем запуске монитора."_s.arg(
        folder, written.isEmpty() ? u"ни одного файла (файл настроек пуст)"_s : written.join(u", "_s)));
    return 0;
}
