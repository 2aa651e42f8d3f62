#pragma once
// The program's command line, read before any window or display: what it asks for that needs no
// board (the help, the version, a wrong option) is done in the text console, so the kitchen's IT
// person can ask an installed monitor over ssh. An option of that kind joins with addConsoleAction.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class CommandLine {
public:
    CommandLine();

    // An option done without the board: the handler gets the option's values, then the
    // arguments that follow no option, and gives the program's exit status.
    using Action = std::function<int(const QStringList& values)>;
    void addConsoleAction(const QCommandLineOption& option, Action action);
    // An option that only changes what an action does; the action asks isSet.
    void addModifier(const QCommandLineOption& option) { m_parser.addOption(option); }
    bool isSet(const QString& name) const { return m_parser.isSet(name); }

    // Reads the arguments (the program's name first). The exit status when the program is done
    // with them; nothing when the board is to run. Text goes to stdout, errors to stderr.
    std::optional<int> handle(const QStringList& arguments);

    // Said when the board is to run and there is no display to show it on.
    static QString noDisplayMessage();
    // The status of that end: a failure, but not a crash.
    static constexpr int NoDisplayStatus = 1;
    // The status of a wrong option (EX_USAGE).
    static constexpr int UsageStatus = 64;

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    std::vector<std::pair<QCommandLineOption, Action>> m_actions;
};
