#include "KeyMap.h"

#include "Log.h"
#include "SettingsFile.h"
#include "SettingsNames.h"

#include <QKeySequence>
#include <QRegularExpression>
#include <algorithm>
#include <exception>

using namespace Qt::StringLiterals;

namespace {
struct Default {
    KeyAction action;
    const char* name;
    const char* keys;
};
const Default Defaults[] = {
    {KeyAction::Order1, "Order1", "1"},       {KeyAction::Order2, "Order2", "2"},
    {KeyAction::Order3, "Order3", "3"},       {KeyAction::Order4, "Order4", "4"},
    {KeyAction::Order5, "Order5", "5"},       {KeyAction::Order6, "Order6", "6"},
    {KeyAction::PrevOrder, "PrevOrder", "Left"}, {KeyAction::NextOrder, "NextOrder", "Right"},
    {KeyAction::PrevDish, "PrevDish", "Up"},  {KeyAction::NextDish, "NextDish", "Down"},
    {KeyAction::DishReady, "DishReady", "Enter Return"},
    {KeyAction::OrderReady, "OrderReady", "+"},
    {KeyAction::TakeBack, "TakeBack", "-"},
    {KeyAction::AllOrders, "AllOrders", "*"},
    {KeyAction::PrevPage, "PrevPage", "PgUp"}, {KeyAction::NextPage, "NextPage", "PgDown"},
    {KeyAction::HotQueue, "HotQueue", "0"},
    {KeyAction::AllDay, "AllDay", "9"},
    {KeyAction::OpenOrder, "OpenOrder", ". Del"},
    {KeyAction::Close, "Close", "Esc"},
    {KeyAction::Recall, "Recall", "/"},
    {KeyAction::Statistics, "Statistics", ""}, // mappable, no key of its own
};
static_assert(std::size(Defaults) == KeyMap::ActionCount);

const QRegularExpression Blanks(u"[ \t]+"_s);

std::optional<QKeyCombination> readKey(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return std::nullopt;
    return sequence[0];
}
}

KeyMap::KeyMap()
{
    for (const Default& d : Defaults)
        for (const QString& key : QString::fromLatin1(d.keys).split(u' ', Qt::SkipEmptyParts))
            m_actions.insert(plain(*readKey(key)).toCombined(), d.action);
}

QKeyCombination KeyMap::plain(QKeyCombination key)
{
    return QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
}

std::optional<KeyAction> KeyMap::action(QKeyCombination key) const
{
    auto found = m_actions.constFind(plain(key).toCombined());
    // A character is the same key whatever modifier it took to type it: "+" is Shift+= on an
    // ordinary keyboard and a digit takes Shift on some layouts. A key the file names with its
    // modifier keeps it; keys that are no characters (Enter, F5) keep their modifiers.
    if (found == m_actions.constEnd() && key.key() < Qt::Key_Escape) {
        const Qt::KeyboardModifiers typing = Qt::ShiftModifier | Qt::GroupSwitchModifier;
        found = m_actions.constFind(plain(QKeyCombination(key.keyboardModifiers() & ~typing, key.key())).toCombined());
    }
    return found == m_actions.constEnd() ? std::nullopt : std::optional(*found);
}

QList<QKeyCombination> KeyMap::keys(KeyAction action) const
{
    QList<QKeyCombination> found;
    for (auto i = m_actions.constBegin(); i != m_actions.constEnd(); ++i)
        if (i.value() == action)
            found << QKeyCombination::fromCombined(i.key());
    // Stable for the file: in the order of the key codes.
    std::sort(found.begin(), found.end(), [](QKeyCombination a, QKeyCombination b) { return a.toCombined() < b.toCombined(); });
    return found;
}

QString KeyMap::name(KeyAction action)
{
    return QString::fromLatin1(Defaults[int(action)].name);
}

KeyMap KeyMap::parse(const QStringList& lines, QStringList* problems)
{
    KeyMap map;
    QHash<int, KeyAction> given;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList words = line.split(Blanks);
        const auto* found = std::find_if(std::begin(Defaults), std::end(Defaults), [&](const Default& d) {
            return words[0].compare(QLatin1StringView(d.name), Qt::CaseInsensitive) == 0;
        });
        QHash<int, KeyAction> keys;
        QString fault;
        if (found == std::end(Defaults))
            fault = u"unknown action"_s;
        for (int i = 1; fault.isEmpty() && i < words.size(); ++i) {
            const std::optional<QKeyCombination> key = readKey(words[i]);
            if (!key)
                fault = u"unknown key \"%1\""_s.arg(words[i]);
            else
                keys.insert(plain(*key).toCombined(), found->action);
        }
        if (!fault.isEmpty()) {
            if (problems)
                *problems << u"line %1 \"%2\": %3"_s.arg(n + 1).arg(line, fault);
            continue;
        }
        // The line's keys replace the action's keys, whether defaults or an earlier line's.
        for (auto i = given.begin(); i != given.end();)
            i = i.value() == found->action ? given.erase(i) : std::next(i);
        given.insert(keys);
        for (auto i = map.m_actions.begin(); i != map.m_actions.end();)
            i = i.value() == found->action ? map.m_actions.erase(i) : std::next(i);
    }
    // A key that the file gives is no longer any default's.
    map.m_actions.insert(given);
    return map;
}

QStringList KeyMap::lines() const
{
    QStringList out;
    for (int a = 0; a < ActionCount; ++a) {
        QStringList words{name(KeyAction(a))};
        for (QKeyCombination key : keys(KeyAction(a)))
            words << QKeySequence(key).toString(QKeySequence::PortableText);
        out << words.join(u' ');
    }
    return out;
}

KeyMap KeyMap::load(const QString& folder)
{
    const SettingsFile file(folder, SettingsNames::Keys);
    QStringList problems;
    KeyMap map;
    try {
        if (!file.createIfMissing(KeyMap().lines()))
            map = parse(file.readLines(), &problems);
    } catch (const std::exception& e) {
        problems = {QString::fromUtf8(e.what())};
    }
    if (!problems.isEmpty())
        qCWarning(lcMonitor).noquote() << SettingsNames::Keys << "keeps the default keys where it cannot be read:"
                                       << Log::oneLine(problems.join(u"; "_s));
    return map;
}
