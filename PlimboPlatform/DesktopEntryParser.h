#pragma once

#include "DesktopEntry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace plimbo {

// Reads the [Desktop Entry] group of .desktop files for one locale. Anything malformed (not
// UTF-8, NUL bytes, oversized file or line, a key before any group, a first group other than
// [Desktop Entry], a line that is neither comment, group nor key) makes the whole file
// unreadable rather than half-read.
class DesktopEntryParser {
public:
    // Real entries are a few KiB; anything far beyond is junk or hostile.
    static constexpr qint64 MaxFileSize = 1024 * 1024;
    static constexpr qsizetype MaxLineLength = 64 * 1024;

    // locale: a POSIX locale name such as "sr_RS.UTF-8@latin"; "C", "POSIX" or empty use the
    // untranslated values only.
    explicit DesktopEntryParser(const QString& locale = {});
    // Several locales in order of preference (as LANGUAGE lists them): the candidates of each
    // in turn.
    explicit DesktopEntryParser(const QStringList& locales);

    // Suffixes tried for localised keys, best first: lang_COUNTRY@MODIFIER, lang_COUNTRY,
    // lang@MODIFIER, lang (those the locale has).
    static QStringList localeCandidates(const QString& locale);
    // Splits a string-list value at unescaped ';' (an empty last item is dropped) and
    // unescapes each item.
    static QStringList splitList(QStringView raw);
    // Applies the value escapes \s \n \t \r \\; any other backslash pair is kept as written
    // (the Exec line has its own quoting on top).
    static QString unescapeValue(QStringView raw);

    std::optional<DesktopEntry> parse(const QByteArray& bytes) const;
    // Only regular files are read (a FIFO would block); path is stored in the result.
    std::optional<DesktopEntry> parseFile(const QString& path) const;

    const QStringList& candidates() const { return m_candidates; }

private:
    QStringList m_candidates;
};

} // namespace plimbo
