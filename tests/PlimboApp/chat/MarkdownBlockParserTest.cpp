#include "MarkdownBlockParser.h"

#include <gtest/gtest.h>

using namespace plimbo;
using Block = MarkdownBlock;
using Blocks = QList<MarkdownBlock>;

namespace plimbo {
void PrintTo(const MarkdownBlock& block, std::ostream* os) {
    static const char* kinds[] = {"paragraph", "heading", "unordered", "ordered", "quote", "code"};
    *os << kinds[static_cast<int>(block.kind)] << "(level " << block.level << ", \""
        << block.text.toStdString() << "\", ["
        << block.items.join(QStringLiteral("|")).toStdString() << "], lang "
        << (block.language ? block.language->toStdString() : "none") << ")";
}
} // namespace plimbo

namespace {

Blocks parse(const char* source) {
    return MarkdownBlockParser::parse(QString::fromUtf8(source));
}

TEST(MarkdownBlockParser, EmptyOrBlankTextIsOneParagraphHoldingItUnchanged) {
    EXPECT_EQ(parse(""), Blocks{Block::paragraph("")});
    EXPECT_EQ(parse(" \t\n  \n"), Blocks{Block::paragraph(" \t\n  \n")});
    // A non-breaking space is a space separator too.
    EXPECT_EQ(parse("\u00a0"), Blocks{Block::paragraph("\u00a0")});
}

TEST(MarkdownBlockParser, Headings) {
    EXPECT_EQ(parse("# Title"), Blocks{Block::heading(1, "Title")});
    EXPECT_EQ(parse("### Title"), Blocks{Block::heading(3, "Title")});
    EXPECT_EQ(parse("###### Six"), Blocks{Block::heading(6, "Six")});
    EXPECT_EQ(parse("#  Title"), Blocks{Block::heading(1, " Title")});
    EXPECT_EQ(parse("#    Title"), Blocks{Block::heading(1, "   Title")});
    EXPECT_EQ(parse("  ## Indented ##"), Blocks{Block::heading(2, "Indented ##")});
    EXPECT_EQ(parse("# - item"), Blocks{Block::heading(1, "- item")});
    // Not headings.
    EXPECT_EQ(parse("#Title"), Blocks{Block::paragraph("#Title")});
    EXPECT_EQ(parse("#"), Blocks{Block::paragraph("#")});
    EXPECT_EQ(parse("#   "), Blocks{Block::paragraph("#   ")});
    EXPECT_EQ(parse("####### Seven"), Blocks{Block::paragraph("####### Seven")});
    EXPECT_EQ(parse("#\tTab"), Blocks{Block::paragraph("#\tTab")});

    EXPECT_EQ(MarkdownBlockParser::heading(u"## a"), (MarkdownBlockParser::Heading{2, "a"}));
    EXPECT_FALSE(MarkdownBlockParser::heading(u"##").has_value());
}

TEST(MarkdownBlockParser, BulletedRunsMixMarkersAndNeverNest) {
    EXPECT_EQ(parse("- one\n* two\n- three"), Blocks{Block::unordered({"one", "two", "three"})});
    EXPECT_EQ(parse("    - indented\n-   spaced"),
              Blocks{Block::unordered({"indented", "  spaced"})});
    EXPECT_EQ(parse("- # not a heading"), Blocks{Block::unordered({"# not a heading"})});
    EXPECT_EQ(parse("- one\n\n- two"),
              (Blocks{Block::unordered({"one"}), Block::unordered({"two"})}));
    EXPECT_EQ(parse("-\tTab"), Blocks{Block::paragraph("-\tTab")});
    EXPECT_EQ(parse("-"), Blocks{Block::paragraph("-")});
    EXPECT_EQ(parse("+ plus"), Blocks{Block::paragraph("+ plus")});
    // A line after the run that opens nothing starts a paragraph.
    EXPECT_EQ(parse("- one\nafter"),
              (Blocks{Block::unordered({"one"}), Block::paragraph("after")}));
}

TEST(MarkdownBlockParser, NumberedRuns) {
    EXPECT_EQ(parse("3. three\n7. seven"), Blocks{Block::ordered({"three", "seven"})});
    EXPECT_EQ(parse("1. a\n\n2. b"), (Blocks{Block::ordered({"a"}), Block::ordered({"b"})}));
    EXPECT_EQ(parse("2024. A year"), Blocks{Block::ordered({"A year"})});
    EXPECT_EQ(parse("12.  two spaces"), Blocks{Block::ordered({" two spaces"})});
    // Digits of other scripts, superscripts, fractions and Han numerals count as numbers.
    EXPECT_EQ(parse("٣. arabic\n². super\n½. half\n三. han\nⅫ. roman"),
              Blocks{Block::ordered({"arabic", "super", "half", "han", "roman"})});

    for (const char* text :
         {"1.5 is a number", "1) item", "a1. item", "1.", "1.\tTab", ". x", "1.x", "一x. no"}) {
        EXPECT_EQ(parse(text), Blocks{Block::paragraph(text)}) << text;
    }
    EXPECT_EQ(MarkdownBlockParser::orderedItem(u"10. ten"), QString("ten"));
    EXPECT_EQ(MarkdownBlockParser::orderedItem(u"10. "), QString(""));
}

TEST(MarkdownBlockParser, Quotes) {
    EXPECT_EQ(parse("> one\n> two"), Blocks{Block::quote({"one", "two"})});
    EXPECT_EQ(parse("> - dash"), Blocks{Block::quote({"- dash"})});
    EXPECT_EQ(parse(">text"), Blocks{Block::paragraph(">text")});
    EXPECT_EQ(parse(">"), Blocks{Block::paragraph(">")});
    EXPECT_EQ(parse("> a\nb"), (Blocks{Block::quote({"a"}), Block::paragraph("b")}));
}

TEST(MarkdownBlockParser, CodeFences) {
    EXPECT_EQ(parse("```swift\n  let x = 1\n```"),
              Blocks{Block::code(QString("swift"), "  let x = 1")});
    EXPECT_EQ(parse("```   python   \nx\n```"), Blocks{Block::code(QString("python"), "x")});
    EXPECT_EQ(parse("```\n```"), Blocks{Block::code(std::nullopt, "")});
    EXPECT_EQ(parse("```\n\n# not\n- parsed\n```"),
              Blocks{Block::code(std::nullopt, "\n# not\n- parsed")});
    // The closing fence ends the block even with text after it; that text is dropped.
    EXPECT_EQ(parse("```\ncode\n``` trailing\nafter"),
              (Blocks{Block::code(std::nullopt, "code"), Block::paragraph("after")}));
    // Indented fences open and close too.
    EXPECT_EQ(parse("   ```js\n\tx\n  ```"), Blocks{Block::code(QString("js"), "\tx")});
    // An unclosed fence runs to the end.
    EXPECT_EQ(parse("Intro\n```\nlet a\n\nlet b"),
              (Blocks{Block::paragraph("Intro"), Block::code(std::nullopt, "let a\n\nlet b")}));
    EXPECT_EQ(parse("```"), Blocks{Block::code(std::nullopt, "")});
    EXPECT_EQ(parse("~~~\nx\n~~~"), Blocks{Block::paragraph("~~~\nx\n~~~")});
}

TEST(MarkdownBlockParser, ParagraphsKeepTheirRawLinesAndStopAtBlocks) {
    EXPECT_EQ(parse("one\n  two  "), Blocks{Block::paragraph("one\n  two  ")});
    EXPECT_EQ(parse("  lead\nnext"), Blocks{Block::paragraph("  lead\nnext")});
    EXPECT_EQ(parse("text\n- item"),
              (Blocks{Block::paragraph("text"), Block::unordered({"item"})}));
    EXPECT_EQ(parse("text\n# Head"), (Blocks{Block::paragraph("text"), Block::heading(1, "Head")}));
    EXPECT_EQ(parse("text\n1. one"), (Blocks{Block::paragraph("text"), Block::ordered({"one"})}));
    EXPECT_EQ(parse("text\n> q"), (Blocks{Block::paragraph("text"), Block::quote({"q"})}));
    EXPECT_EQ(parse("a\n\n\nb"), (Blocks{Block::paragraph("a"), Block::paragraph("b")}));
    EXPECT_EQ(parse("**bold** start\n*italic* start"),
              Blocks{Block::paragraph("**bold** start\n*italic* start")});
    // Nothing beyond the six kinds: rules, underlines, tables and plus lists are text.
    EXPECT_EQ(parse("Title\n===\n---\n| a | b |\n+ x"),
              Blocks{Block::paragraph("Title\n===\n---\n| a | b |\n+ x")});
    // A carriage return is not white space for the parser.
    EXPECT_EQ(parse("a\r\n- b\r"), (Blocks{Block::paragraph("a\r"), Block::unordered({"b\r"})}));
}

TEST(MarkdownBlockParser, AMixedReply) {
    EXPECT_EQ(parse("# Plan\n\nStart **now**.\n\n1. Focus\n2. Break\n\n> Note\n\n```sh\nls\n```\n"),
              (Blocks{Block::heading(1, "Plan"), Block::paragraph("Start **now**."),
                      Block::ordered({"Focus", "Break"}), Block::quote({"Note"}),
                      Block::code(QString("sh"), "ls")}));
}

} // namespace
