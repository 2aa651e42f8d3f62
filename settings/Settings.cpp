#include "Settings.h"

#include "SettingsFile.h"
#include "SettingsNames.h"
#include "ViewSettings.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

using namespace Qt::StringLiterals;
namespace N = SettingsNames;

const QString Settings::DefaultsTakenMessage =
    u"Для настроек, которые не удалось прочитать, до перезапуска программы действуют значения по умолчанию."_s;

namespace {
bool isScreen(const QString& stored)
{
    // Compared as stored: "window" or "Full " is mended like any other line.
    return stored == N::ScreenWindow || stored == N::ScreenFull;
}

bool isTextSize(const QString& stored)
{
    return stored == u"0" || stored == u"1" || stored == u"2";
}
}

const QList<Settings::Entry>& Settings::table()
{
    // In the order of the start: the board's files first, then the sound's and the idle check's.
    static const QList<Entry> entries{
        {Key::Screen, N::Screen, 0, N::ScreenWindow, isScreen},
        {Key::Sections, N::Section, WholeFile, u"1"_s, nullptr},
        {Key::Gruppa, N::Gruppa, 0, u"0"_s, nullptr},
        {Key::TextSize, N::TextSize, 0, u"0"_s, isTextSize},
        {Key::Output, N::TSound, WholeFile, u"0"_s, nullptr},
        {Key::SoundFile, N::FSound, 0, QString(), nullptr, Missing::Empty},
        {Key::SavedSound, N::Sound, 0, QString(), nullptr, Missing::NeverRead},
        {Key::Idle, N::Idle, 0, u"5"_s, ViewSettings::isDigitRun},
        {Key::Duration, N::Signal, 0, u"50"_s, ViewSettings::validDuration},
        {Key::Amount, N::Signal, 1, u"1"_s, ViewSettings::validAmount},
    };
    return entries;
}

const Settings::Entry& Settings::entry(Key key)
{
    for (const Entry& e : table())
        if (e.key == key)
            return e;
    throw std::logic_error("a settings key without its entry");
}

QString Settings::read(Key key, const QString& stored)
{
    const Entry& e = entry(key);
    return !e.check || e.check(stored) ? stored : e.fallback;
}

QStringList Settings::defaultLines(const QString& file)
{
    QStringList lines;
    for (const Entry& e : table()) {
        if (e.file != file || e.missing != Missing::Created)
            continue;
        if (e.line == WholeFile)
            return {e.fallback};
        while (lines.size() <= e.line)
            lines << QString();
        lines[e.line] = e.fallback;
    }
    return lines;
}

Settings::Settings(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
    for (const Entry& e : table())
        m_values[size_t(e.key)] = e.fallback;
}

QStringList Settings::load()
{
    QStringList problems;
    const auto attempt = [&problems](const auto& body) {
        try {
            body();
        } catch (const std::exception& e) {
            problems << QString::fromUtf8(e.what());
        }
    };
    QStringList files;
    for (const Entry& e : table())
        if (!files.contains(e.file))
            files << e.file;
    // The connection reads it later, with its own codec; only its default is made here.
    files.insert(1, N::Net);

    for (const QString& name : files) {
        const SettingsFile file(m_folder, name);
        if (name == N::Net) {
            attempt([&] { file.createIfMissing(N::NetDefault); });
            continue;
        }
        const Entry& first = *std::find_if(table().cbegin(), table().cend(), [&](const Entry& e) { return e.file == name; });
        // The speaker needs no sound file: with it, an old path in the file is not taken.
        if (first.missing == Missing::NeverRead || (first.key == Key::SoundFile && output() == 0))
            continue;
        if (first.missing == Missing::Created)
            attempt([&] { file.createIfMissing(defaultLines(name)); });
        else if (!file.exists())
            continue;
        const QStringList defaults = defaultLines(name);
        bool readable = true;
        QStringList lines;
        try {
            lines = file.readLines();
        } catch (const std::exception&) {
            readable = false;
            lines = file.readLinesOr(defaults); // told in the log and on the board's strip
        }
        for (const Entry& e : table()) {
            if (e.file != name)
                continue;
            const QString stored = e.line == WholeFile ? lines.join(u'\n') : lines.value(e.line);
            m_values[size_t(e.key)] = read(e.key, stored);
            // A wrong view line is mended on disk; one that cannot be read is left alone.
            if (e.key == Key::Screen && readable && stored != m_values[size_t(e.key)])
                attempt([&] { file.write(defaults); });
        }
    }
    return problems;
}

void Settings::set(Key key, const QString& value)
{
    if (m_values[size_t(key)] == value)
        return;
    m_values[size_t(key)] = value;
    emit changed(key);
}

QStringList Settings::linesOf(const QString& file) const
{
    QStringList lines;
    for (const Entry& e : table()) {
        if (e.file != file)
            continue;
        const QString& value = m_values[size_t(e.key)];
        if (e.line == WholeFile)
            return value.isEmpty() ? QStringList() : value.split(u'\n');
        while (lines.size() <= e.line)
            lines << QString();
        lines[e.line] = value;
    }
    return lines;
}

void Settings::store(std::initializer_list<Key> keys) const
{
    QStringList written;
    for (Key key : keys) {
        const QString& name = entry(key).file;
        if (written.contains(name))
            continue;
        written << name;
        SettingsFile(m_folder, name).write(linesOf(name));
    }
}

void Settings::write(Key key, const QString& value)
{
    const QString& name = entry(key).file;
    const QString old = std::exchange(m_values[size_t(key)], value);
    QStringList lines = linesOf(name);
    m_values[size_t(key)] = old;
    SettingsFile(m_folder, name).write(lines);
    set(key, value);
}

bool Settings::fullScreen() const
{
    return value(Key::Screen) == N::ScreenFull;
}

std::array<bool, 5> Settings::sections() const
{
    std::array<bool, 5> served{};
    for (const QString& line : value(Key::Sections).split(u'\n'))
        for (int i = 0; i < 5; ++i)
            if (line == QString::number(i + 1))
                served[size_t(i)] = true;
    return served;
}

bool Settings::groupShown() const
{
    return value(Key::Gruppa) == u"1";
}

int Settings::textSize() const
{
    return value(Key::TextSize).toInt();
}

int Settings::output() const
{
    return ViewSettings::outputItem(ViewSettings::firstWholeNumber(value(Key::Output).toUtf8()));
}
