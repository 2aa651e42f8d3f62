#include "CommandLine.h"

#include <QCoreApplication>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}
}

CommandLine::CommandLine()
    : m_help({u"h"_s, u"help"_s}, u"Показать эту справку."_s),
      m_version({u"v"_s, u"version"_s}, u"Показать версию программы."_s)
{
    m_parser.setApplicationDescription(
        u"Монитор кухни: заказы точки продаж для поваров выбранных цехов.\n"
        "Без параметров открывает табло; настройки хранятся в файлах рядом с программой\n"
        "или в ~/.config/kitchen-monitor (см. man kitchen-monitor)."_s);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

void CommandLine::addConsoleAction(const QCommandLineOption& option, Action action)
{
    m_parser.addOption(option);
    m_actions.emplace_back(option, std::move(action));
}

std::optional<int> CommandLine::handle(const QStringList& arguments)
{
    if (!m_parser.parse(arguments)) {
        print(stderr, u"kitchen-monitor: %1\n%2\n"_s.arg(m_parser.errorText(),
                                            u"Справка: kitchen-monitor --help"_s));
        return UsageStatus;
    }
    if (m_parser.isSet(m_help)) {
        print(stdout, m_parser.helpText());
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        print(stdout, u"kitchen-monitor %1\n"_s.arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    for (const auto& [option, action] : m_actions)
        if (m_parser.isSet(option))
            return action(m_parser.values(option) + m_parser.positionalArguments());
    if (!m_parser.positionalArguments().isEmpty()) {
        print(stderr, u"kitchen-monitor: лишние параметры: %1\n%2\n"_s.arg(
                                                             m_parser.positionalArguments().join(u' '),
                                                             u"Справка: kitchen-monitor --help"_s));
        return UsageStatus;
    }
    return std::nullopt;
}

QString CommandLine::noDisplayMessage()
{
    return u"kitchen-monitor: табло нужен графический сеанс (нет дисплея: DISPLAY или WAYLAND_DISPLAY)"_s;
}
