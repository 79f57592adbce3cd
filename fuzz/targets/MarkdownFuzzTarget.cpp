#include "MarkdownFuzzTarget.h"

#include "FuzzCheck.h"
#include "InlineMarkdownParser.h"
#include "MarkdownBlockParser.h"
#include "MarkdownDocument.h"

#include <QString>
#include <QUrl>

#include <algorithm>

namespace plimbo {

namespace {

// Pieces of reply text are rendered with inline Markdown, and a link in them opens in the
// user's browser or mail program: nothing else may come out as a link.
void checkInline(const QString& text) {
    for (const InlineRun& run : InlineMarkdownParser::parse(text)) {
        fuzzCheck(!run.text.isEmpty(), "an inline run has text");
        if (run.link.isEmpty()) {
            continue;
        }
        const QString scheme = run.link.scheme().toLower();
        fuzzCheck(scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                      scheme == QLatin1String("mailto"),
                  "only http, https and mailto links can be opened");
    }
}

void checkBlocks(const QList<MarkdownBlock>& blocks) {
    fuzzCheck(!blocks.isEmpty(), "a text always gives at least one block");
    for (const MarkdownBlock& block : blocks) {
        switch (block.kind) {
        case MarkdownBlock::Kind::heading:
            fuzzCheck(block.level >= 1 && block.level <= 6, "a heading level is 1 to 6");
            checkInline(block.text);
            break;
        case MarkdownBlock::Kind::paragraph:
            checkInline(block.text);
            break;
        case MarkdownBlock::Kind::unordered:
        case MarkdownBlock::Kind::ordered:
        case MarkdownBlock::Kind::quote:
            for (const QString& item : block.items) {
                checkInline(item);
            }
            break;
        case MarkdownBlock::Kind::code:
            break;
        }
    }
}

// The index setSource() must return: the first block that differs from the previous ones.
qsizetype firstDifference(const QList<MarkdownBlock>& before, const QList<MarkdownBlock>& after) {
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (i >= before.size() || before[i] != after[i]) {
            return i;
        }
    }
    return after.size();
}

void setAndCompare(MarkdownDocument& document, const QString& source) {
    const QList<MarkdownBlock> before = document.blocks();
    const qsizetype firstChanged = document.setSource(source);
    fuzzCheck(document.blocks() == MarkdownBlockParser::parse(source),
              "a document's blocks equal a full parse of its text");
    fuzzCheck(firstChanged == firstDifference(before, document.blocks()),
              "setSource reports the first block that changed");
}

// A streaming paragraph is parsed again only from its last restart point; cut at points the
// input chooses, the runs must equal a full parse every time.
void checkIncrementalInline(const uint8_t* data, size_t size) {
    if (size < 2) {
        return;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    InlineMarkdownParser::Restart restart;
    qsizetype end = 0;
    quint32 seed = data[0];
    while (end < text.size()) {
        seed = seed * 1103515245u + 12345u;
        end = std::min<qsizetype>(
            text.size(),
            end + 1 + qsizetype((seed >> 16) % quint32(std::max<qsizetype>(24, text.size() / 32))));
        const QStringView prefix = QStringView(text).first(end);
        fuzzCheck(InlineMarkdownParser::parse(prefix, restart) ==
                      InlineMarkdownParser::parse(prefix),
                  "a paragraph parsed from its restart point equals a full parse");
        fuzzCheck(restart.position < end || restart.position == 0,
                  "a restart point lies inside the text");
    }
}

} // namespace

int fuzzMarkdown(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    checkBlocks(MarkdownBlockParser::parse(text));

    // A streamed reply grows at its end, cut anywhere (even inside a line or a surrogate pair).
    MarkdownDocument document;
    const qsizetype steps = std::min<qsizetype>(8, text.size());
    for (qsizetype step = 1; step <= steps; ++step) {
        setAndCompare(document, text.left(text.size() * step / steps));
    }
    // A text that does not continue the old one is parsed afresh.
    setAndCompare(document, text.mid(text.size() / 2));

    checkIncrementalInline(data, size);
    return 0;
}

} // namespace plimbo
