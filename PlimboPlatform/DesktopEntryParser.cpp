#include "DesktopEntryParser.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plimbo {

namespace {

bool parseBool(QStringView value) {
    return value == u"true" || value == u"1";
}

bool isKeyChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-';
}

} // namespace

DesktopEntryParser::DesktopEntryParser(const QString& locale)
    : m_candidates(localeCandidates(locale)) {}

DesktopEntryParser::DesktopEntryParser(const QStringList& locales) {
    for (const QString& locale : locales) {
        for (const QString& candidate : localeCandidates(locale)) {
            if (!m_candidates.contains(candidate)) {
                m_candidates << candidate;
            }
        }
    }
}

QStringList DesktopEntryParser::localeCandidates(const QString& locale) {
    // lang[_COUNTRY][.ENCODING][@MODIFIER]; the encoding plays no part in matching.
    QString rest = locale.trimmed();
    QString modifier;
    const qsizetype at = rest.indexOf(u'@');
    if (at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    const qsizetype dot = rest.indexOf(u'.');
    if (dot >= 0) {
        rest.truncate(dot);
    }
    QString country;
    const qsizetype underscore = rest.indexOf(u'_');
    if (underscore >= 0) {
        country = rest.mid(underscore + 1);
        rest.truncate(underscore);
    }
    const QString lang = rest;
    if (lang.isEmpty() || lang == u"C" || lang == u"POSIX") {
        return {};
    }
    QStringList out;
    if (!country.isEmpty() && !modifier.isEmpty()) {
        out << lang + u'_' + country + u'@' + modifier;
    }
    if (!country.isEmpty()) {
        out << lang + u'_' + country;
    }
    if (!modifier.isEmpty()) {
        out << lang + u'@' + modifier;
    }
    out << lang;
    return out;
}

QString DesktopEntryParser::unescapeValue(QStringView raw) {
    if (!raw.contains(u'\\')) {
        return raw.toString();
    }
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 >= raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[i + 1];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            out += c;
            out += next;
            break;
        }
        ++i;
    }
    return out;
}

QStringList DesktopEntryParser::splitList(QStringView raw) {
    QStringList out;
    QString item;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size()) {
            // "\;" is a literal semicolon; other escapes are left to unescapeValue.
            if (raw[i + 1] == u';') {
                item += u';';
            } else {
                item += raw[i];
                item += raw[i + 1];
            }
            ++i;
        } else if (raw[i] == u';') {
            out << unescapeValue(item);
            item.clear();
        } else {
            item += raw[i];
        }
    }
    if (!item.isEmpty()) {
        out << unescapeValue(item);
    }
    return out;
}

std::optional<DesktopEntry> DesktopEntryParser::parse(const QByteArray& bytes) const {
    if (bytes.size() > MaxFileSize || bytes.contains('\0')) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }

    DesktopEntry entry;
    bool inAnyGroup = false;
    bool inEntryGroup = false;
    bool sawEntryGroup = false;
    // Which keys were already set: the first occurrence of a key wins.
    bool hasType = false, hasName = false, hasExec = false, hasTryExec = false, hasIcon = false,
         hasPath = false, hasHidden = false, hasNoDisplay = false, hasTerminal = false,
         hasOnlyShowIn = false, hasNotShowIn = false;
    qsizetype nameRank = m_candidates.size(); // rank of the localised Name taken so far
    QString localisedName;

    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.size() > MaxLineLength) {
            return std::nullopt;
        }
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u'#') {
            continue;
        }
        if (line.front() == u'[') {
            if (line.back() != u']') {
                return std::nullopt;
            }
            const QStringView group = line.mid(1, line.size() - 2);
            if (group.contains(u'[') || group.contains(u']')) {
                return std::nullopt;
            }
            // The entry's group must come first; a repeated one is not merged in, and action
            // groups are never read.
            if (!inAnyGroup && group != u"Desktop Entry") {
                return std::nullopt;
            }
            inAnyGroup = true;
            inEntryGroup = group == u"Desktop Entry" && !sawEntryGroup;
            sawEntryGroup = sawEntryGroup || inEntryGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inAnyGroup || eq <= 0) {
            return std::nullopt;
        }
        if (!inEntryGroup) {
            continue;
        }
        QStringView key = line.left(eq).trimmed();
        const QStringView rawValue = line.mid(eq + 1).trimmed();
        QStringView locale;
        if (const qsizetype open = key.indexOf(u'['); open >= 0) {
            if (key.back() != u']') {
                continue;
            }
            locale = key.mid(open + 1, key.size() - open - 2);
            key = key.left(open);
        }
        if (key.isEmpty() || !std::all_of(key.begin(), key.end(), isKeyChar)) {
            continue;
        }
        if (!locale.isNull()) {
            if (key == u"Name") {
                for (qsizetype rank = 0; rank < nameRank; ++rank) {
                    if (m_candidates[rank] == locale) {
                        nameRank = rank;
                        localisedName = unescapeValue(rawValue);
                        break;
                    }
                }
            }
            continue;
        }
        auto take = [&](bool& has, auto apply) {
            if (!has) {
                has = true;
                apply();
            }
        };
        if (key == u"Type") {
            take(hasType, [&] { entry.type = unescapeValue(rawValue); });
        } else if (key == u"Name") {
            take(hasName, [&] { entry.name = unescapeValue(rawValue); });
        } else if (key == u"Exec") {
            take(hasExec, [&] { entry.exec = unescapeValue(rawValue); });
        } else if (key == u"TryExec") {
            take(hasTryExec, [&] { entry.tryExec = unescapeValue(rawValue); });
        } else if (key == u"Icon") {
            take(hasIcon, [&] { entry.icon = unescapeValue(rawValue); });
        } else if (key == u"Path") {
            take(hasPath, [&] { entry.workingDirectory = unescapeValue(rawValue); });
        } else if (key == u"Hidden") {
            take(hasHidden, [&] { entry.hidden = parseBool(rawValue); });
        } else if (key == u"NoDisplay") {
            take(hasNoDisplay, [&] { entry.noDisplay = parseBool(rawValue); });
        } else if (key == u"Terminal") {
            take(hasTerminal, [&] { entry.terminal = parseBool(rawValue); });
        } else if (key == u"OnlyShowIn") {
            take(hasOnlyShowIn, [&] { entry.onlyShowIn = splitList(rawValue); });
        } else if (key == u"NotShowIn") {
            take(hasNotShowIn, [&] { entry.notShowIn = splitList(rawValue); });
        }
    }
    if (!sawEntryGroup) {
        return std::nullopt;
    }
    if (nameRank < m_candidates.size()) {
        entry.name = localisedName;
    }
    return entry;
}

std::optional<DesktopEntry> DesktopEntryParser::parseFile(const QString& path) const {
    // Plain POSIX calls: a scan reads thousands of these files and Qt's file layer costs
    // several extra system calls per file. O_NONBLOCK keeps a FIFO from blocking the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    QByteArray bytes;
    struct stat info {};
    bool readable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxFileSize;
    if (readable) {
        // One byte past the limit so a file that grew since the fstat is still refused.
        bytes.resize(qsizetype(info.st_size) + 1);
        qsizetype total = 0;
        while (total < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                readable = got == 0;
                break;
            }
            total += got;
        }
        bytes.truncate(total);
    }
    ::close(fd);
    if (!readable) {
        return std::nullopt;
    }
    auto entry = parse(bytes);
    if (entry) {
        entry->path = path;
    }
    return entry;
}

} // namespace plimbo
