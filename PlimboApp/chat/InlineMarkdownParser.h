#pragma once

#include "InlineRun.h"

#include <QList>
#include <QStringView>

namespace plimbo {

// Inline Markdown of one block: emphasis ("*", "_"), strong ("**", "__"), code spans,
// strikethrough ("~", "~~"), inline links, autolinks and backslash escapes. White space and
// line breaks stay as typed; everything else, HTML included, is text. Images show their
// description only and are never fetched. A link keeps its target only where ReplyLinkPolicy
// lets it open; otherwise its text shows unlinked.
//
// One left-to-right pass with explicit stacks (the delimiter algorithm of CommonMark with its
// "openers bottom" bound), so time and memory stay linear in the input whatever it holds; a
// text that nothing matches in comes back as one plain run.
class InlineMarkdownParser {
public:
    InlineMarkdownParser() = delete;

    static QList<InlineRun> parse(QStringView source);

    // Where a text that grows at its end can be parsed again from: nothing after `position` can
    // change the runs before it.
    struct Restart {
        qsizetype position = 0;
        QList<InlineRun> runs; // of the text before `position`
    };
    // The same runs as parse(source), parsing only from `restart`, which it moves on. The text
    // before restart.position must be the one `restart` came from.
    static QList<InlineRun> parse(QStringView source, Restart& restart);
    // The runs' text without styles.
    static QString plainText(const QList<InlineRun>& runs);
};

} // namespace plimbo
