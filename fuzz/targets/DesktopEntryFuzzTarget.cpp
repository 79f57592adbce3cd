#include "DesktopEntryFuzzTarget.h"

#include "DesktopEntryParser.h"
#include "DesktopExecLine.h"
#include "FuzzCheck.h"

#include <QByteArray>
#include <QStringList>

namespace plimbo {

namespace {

// Exec quoting by the desktop-entry rules: every argument in double quotes, with a backslash
// before each " ` $ and backslash. Splitting the result must give the arguments back unchanged.
QString quoted(const QStringList& arguments) {
    QStringList parts;
    for (const QString& argument : arguments) {
        QString part = QStringLiteral("\"");
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
                part += u'\\';
            }
            part += c;
        }
        parts << part + u'"';
    }
    return parts.join(u' ');
}

void checkExecLine(const DesktopEntry& entry) {
    const std::optional<QStringList> arguments = DesktopExecLine::split(entry.exec);
    if (arguments) {
        fuzzCheck(DesktopExecLine::split(quoted(*arguments)) == arguments,
                  "quoted Exec arguments split back to themselves");
    }
    // Splits again and expands the field codes with the entry's name, icon and path.
    if (const std::optional<LaunchCommand> command = DesktopExecLine::command(entry)) {
        fuzzCheck(arguments.has_value(), "a command comes only from a well-formed Exec value");
        fuzzCheck(!command->program.isEmpty(), "a command names a program");
    }
}

} // namespace

int fuzzDesktopEntry(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Untranslated, and a locale with every part so each localised Name rank is reachable.
    static const DesktopEntryParser untranslated;
    static const DesktopEntryParser translated(QStringLiteral("sr_RS.UTF-8@latin"));
    for (const DesktopEntryParser* parser : {&untranslated, &translated}) {
        if (const std::optional<DesktopEntry> entry = parser->parse(bytes)) {
            checkExecLine(*entry);
        }
    }
    return 0;
}

} // namespace plimbo
