#include "DesktopExecLine.h"

namespace plimbo {

std::optional<QStringList> DesktopExecLine::split(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        const bool hasNext = i + 1 < exec.size();
        if (inQuotes) {
            if (c == u'\\' && hasNext &&
                (exec[i + 1] == u'"' || exec[i + 1] == u'`' || exec[i + 1] == u'$' ||
                 exec[i + 1] == u'\\')) {
                current += exec[++i];
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                current += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArgument) {
                arguments << current;
                current.clear();
                inArgument = false;
            }
        } else if (c == u'"') {
            inQuotes = true;
            inArgument = true;
        } else if (c == u'\\' && hasNext) {
            // Not allowed unquoted by the rules, but every desktop reads it as an escape.
            current += exec[++i];
            inArgument = true;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inQuotes) {
        return std::nullopt;
    }
    if (inArgument) {
        arguments << current;
    }
    return arguments;
}

QStringList DesktopExecLine::expandFieldCodes(const QStringList& arguments,
                                              const DesktopEntry& entry) {
    QStringList out;
    for (const QString& argument : arguments) {
        if (argument == u"%i") {
            if (!entry.icon.isEmpty()) {
                out << QStringLiteral("--icon") << entry.icon;
            }
            continue;
        }
        if (!argument.contains(u'%')) {
            out << argument;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            const QChar c = argument[i];
            if (c != u'%' || i + 1 >= argument.size()) {
                expanded += c;
                continue;
            }
            const QChar code = argument[++i];
            switch (code.unicode()) {
            case '%':
                expanded += u'%';
                break;
            case 'c':
                expanded += entry.name;
                break;
            case 'k':
                expanded += entry.path;
                break;
            default:
                // File and URL codes with no files, %i inside a larger argument, deprecated
                // and unknown codes: nothing.
                hadCode = true;
                break;
            }
        }
        if (hadCode && expanded.isEmpty()) {
            continue;
        }
        out << expanded;
    }
    return out;
}

std::optional<LaunchCommand> DesktopExecLine::command(const DesktopEntry& entry,
                                                      const QString& terminalProgram) {
    const auto split = DesktopExecLine::split(entry.exec);
    if (!split) {
        return std::nullopt;
    }
    QStringList arguments = expandFieldCodes(*split, entry);
    if (arguments.isEmpty() || arguments.front().isEmpty()) {
        return std::nullopt;
    }
    LaunchCommand command;
    command.workingDirectory = entry.workingDirectory;
    if (entry.terminal) {
        command.program = terminalProgram;
        command.arguments << QStringLiteral("-e") << arguments;
    } else {
        command.program = arguments.takeFirst();
        command.arguments = arguments;
    }
    return command;
}

} // namespace plimbo
