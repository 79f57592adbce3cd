#include "InlineMarkdownParser.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>

using namespace plimbo;
using Runs = QList<InlineRun>;

namespace plimbo {
void PrintTo(const InlineRun& run, std::ostream* os) {
    *os << "{\"" << run.text.toStdString() << "\", styles " << run.styles << ", link \""
        << run.link.toString().toStdString() << "\"}";
}
} // namespace plimbo

namespace {

constexpr unsigned em = InlineRun::emphasis;
constexpr unsigned strong = InlineRun::strong;
constexpr unsigned code = InlineRun::code;
constexpr unsigned strike = InlineRun::strikethrough;

Runs parse(const char* text) {
    return InlineMarkdownParser::parse(QString::fromUtf8(text));
}

InlineRun run(const char* text, unsigned styles = 0, const char* link = nullptr) {
    return InlineRun{QString::fromUtf8(text), styles, link ? QUrl(link) : QUrl()};
}

TEST(InlineMarkdownParser, EmphasisStrongAndStrikethrough) {
    EXPECT_EQ(parse("plain"), Runs{run("plain")});
    EXPECT_EQ(parse("a *b* c"), (Runs{run("a "), run("b", em), run(" c")}));
    EXPECT_EQ(parse("a _b_ c"), (Runs{run("a "), run("b", em), run(" c")}));
    EXPECT_EQ(parse("**b**"), Runs{run("b", strong)});
    EXPECT_EQ(parse("__b__"), Runs{run("b", strong)});
    EXPECT_EQ(parse("***b***"), Runs{run("b", em | strong)});
    EXPECT_EQ(parse("**a *b* c**"),
              (Runs{run("a ", strong), run("b", strong | em), run(" c", strong)}));
    EXPECT_EQ(parse("~~gone~~ ~also~"), (Runs{run("gone", strike), run(" "), run("also", strike)}));
    // Not emphasis: spaces inside, word-internal underscores, unmatched and mismatched runs.
    EXPECT_EQ(parse("a * b * c"), Runs{run("a * b * c")});
    EXPECT_EQ(parse("snake_case_name"), Runs{run("snake_case_name")});
    EXPECT_EQ(parse("**open"), Runs{run("**open")});
    EXPECT_EQ(parse("~~~no~~~"), Runs{run("~~~no~~~")});
    EXPECT_EQ(parse("~a~~"), Runs{run("~a~~")});
    EXPECT_EQ(parse("**a*"), (Runs{run("*"), run("a", em)}));
    // Intra-word asterisks do emphasise.
    EXPECT_EQ(parse("un*frigging*believable"),
              (Runs{run("un"), run("frigging", em), run("believable")}));
}

TEST(InlineMarkdownParser, CodeSpansAreLiteral) {
    EXPECT_EQ(parse("use `a*b*c` here"), (Runs{run("use "), run("a*b*c", code), run(" here")}));
    EXPECT_EQ(parse("``a ` b``"), Runs{run("a ` b", code)});
    EXPECT_EQ(parse("` x `"), Runs{run("x", code)});
    EXPECT_EQ(parse("`  `"), Runs{run("  ", code)});
    EXPECT_EQ(parse("`open"), Runs{run("`open")});
    EXPECT_EQ(parse("``a`"), Runs{run("``a`")});
    EXPECT_EQ(parse("*a `*` b*"), (Runs{run("a ", em), run("*", em | code), run(" b", em)}));
    EXPECT_EQ(parse("`<b>&amp;</b>`"), Runs{run("<b>&amp;</b>", code)});
}

TEST(InlineMarkdownParser, LinksOpenOnlyForWebAndMailAddresses) {
    EXPECT_EQ(parse("see [the docs](https://example.com/a?b=1) now"),
              (Runs{run("see "), run("the docs", 0, "https://example.com/a?b=1"), run(" now")}));
    EXPECT_EQ(parse("[**bold** link](http://x.org)"),
              (Runs{run("bold", strong, "http://x.org"), run(" link", 0, "http://x.org")}));
    EXPECT_EQ(parse("[mail](mailto:me@example.com)"),
              Runs{run("mail", 0, "mailto:me@example.com")});
    EXPECT_EQ(parse("[wiki](https://en.wikipedia.org/wiki/Foo_(bar))"),
              Runs{run("wiki", 0, "https://en.wikipedia.org/wiki/Foo_(bar)")});
    EXPECT_EQ(parse("[t](<https://a.b/c d>)"), Runs{run("t", 0, "https://a.b/c d")});
    EXPECT_EQ(parse("[t](https://a.b \"Title\")"), Runs{run("t", 0, "https://a.b")});
    // Other targets keep the text without a link.
    for (const char* text : {"[x](javascript:alert(1))", "[x](file:///etc/passwd)",
                             "[x](relative/path)", "[x](ftp://host/file)", "[x](http:///nohost)"}) {
        EXPECT_EQ(parse(text), Runs{run("x")}) << text;
    }
    // Not links at all.
    EXPECT_EQ(parse("[no target]"), Runs{run("[no target]")});
    EXPECT_EQ(parse("[a] (b)"), Runs{run("[a] (b)")});
    EXPECT_EQ(parse("[a](b c d)"), Runs{run("[a](b c d)")});
    // No link inside a link: the inner one wins, the outer brackets stay text.
    EXPECT_EQ(parse("[a [b](https://b.c) c](https://d.e)"),
              (Runs{run("[a "), run("b", 0, "https://b.c"), run(" c](https://d.e)")}));
    // Emphasis does not cross a link's edge.
    EXPECT_EQ(parse("*a [b* c](https://x.y)"), (Runs{run("*a "), run("b* c", 0, "https://x.y")}));
}

TEST(InlineMarkdownParser, AutolinksImagesEscapesAndHtml) {
    EXPECT_EQ(parse("go <https://x.y/z> now"),
              (Runs{run("go "), run("https://x.y/z", 0, "https://x.y/z"), run(" now")}));
    EXPECT_EQ(parse("<me@example.com>"), Runs{run("me@example.com", 0, "mailto:me@example.com")});
    EXPECT_EQ(parse("<ftp://x.y>"), Runs{run("ftp://x.y")});
    // Images show their description and nothing is loaded.
    EXPECT_EQ(parse("![a *cat*](https://x.y/cat.png)"), (Runs{run("a "), run("cat", em)}));
    EXPECT_EQ(parse("\\*not\\* \\[x\\](y) \\a"), Runs{run("*not* [x](y) \\a")});
    // HTML is text.
    EXPECT_EQ(parse("<b>bold</b> & <img src=x onerror=y>"),
              Runs{run("<b>bold</b> & <img src=x onerror=y>")});
}

TEST(InlineMarkdownParser, WhiteSpaceAndLineBreaksStay) {
    EXPECT_EQ(parse("  a\n  *b*\n\n"), (Runs{run("  a\n  "), run("b", em), run("\n\n")}));
    EXPECT_EQ(parse("😀 *é*"), (Runs{run("😀 "), run("é", em)}));
}

TEST(InlineMarkdownParser, HostileInputFinishesQuickly) {
    const std::vector<QString> inputs{
        QString(100000, QLatin1Char('[')),
        QString(100000, QLatin1Char('*')),
        QString(100000, QLatin1Char('`')),
        QString(100000, QLatin1Char('<')),
        QStringLiteral("*a ").repeated(40000),
        QStringLiteral("a*").repeated(50000),
        QStringLiteral("_a ").repeated(40000),
        QStringLiteral("**a ").repeated(30000),
        QStringLiteral("*_").repeated(50000),
        QStringLiteral("[](").repeated(40000),
        QStringLiteral("[a](").repeated(30000),
        QStringLiteral("](").repeated(50000),
        QStringLiteral("[").repeated(50000) + QStringLiteral("](").repeated(50000),
        QStringLiteral("[a](b)").repeated(20000),
        QStringLiteral("[[a](https://b)").repeated(20000),
        QStringLiteral("`a``").repeated(30000),
        QStringLiteral("a` ``").repeated(20000) + QStringLiteral("`").repeated(100),
        QStringLiteral("<a").repeated(50000),
        QStringLiteral("~a ~~b ").repeated(20000),
        QStringLiteral("*a **b ***c ").repeated(15000),
        QStringLiteral("(").repeated(50000),
        QStringLiteral("[a](((((((((((((((((((((((((((((((((((((").repeated(3000),
        QStringLiteral("\\").repeated(100000),
    };
    for (const QString& input : inputs) {
        QElapsedTimer timer;
        timer.start();
        const Runs runs = InlineMarkdownParser::parse(input);
        const qint64 elapsed = timer.elapsed();
        // Generous against a slow, loaded machine; quadratic behaviour takes minutes here.
        EXPECT_LT(elapsed, 5000) << input.left(12).toStdString();
        // Nothing is lost: escapes aside, every character of these inputs is shown or is markup.
        EXPECT_LE(InlineMarkdownParser::plainText(runs).size(), input.size());
    }
    // Unmatched openers are all still there as text.
    EXPECT_EQ(InlineMarkdownParser::plainText(InlineMarkdownParser::parse(QString(100000, '['))),
              QString(100000, '['));
}

TEST(InlineMarkdownParser, MailLinksCarryTheAddressOnly) {
    // A reply must not hand the mail client a file to attach, a body or more recipients.
    EXPECT_EQ(parse("[mail](mailto:a@b.c?attach=/etc/passwd)"),
              Runs{run("mail", 0, "mailto:a@b.c")});
    // An autolink whose address holds a query separator stays text.
    EXPECT_EQ(parse("<a?attach=/etc/passwd@b.c>"), Runs{run("a?attach=/etc/passwd@b.c")});
}

} // namespace

// A streaming paragraph is parsed again only from its last restart point. Every prefix, grown one
// character at a time and in bigger steps, must parse exactly as a full parse does, including
// where something that opens before a restart candidate only closes far after it.
TEST(InlineMarkdownParser, GrowingTextParsedFromRestartEqualsFullParse) {
    const char* const texts[] = {
        "a *b c d e f g h i j k l m n o p* q",
        "x **strong with spaces that closes much later** y *em* z",
        "see [a link with many words in it](https://example.com/a b) and [b](https://e.org) end",
        "[outer words [inner](https://a.org) more words](https://b.org) tail text",
        "code ``with ` one and two`` and ` a single one far ` later ``` never closed",
        "escapes \\*not em* and \\ \\` tick` and \\[no link](https://x.org) and \\",
        "autolink <https://example.com/with spaces> and <https://example.com/ok> done",
        "a link [text](<https://example.com/a> \"title with spaces\") and more",
        "unclosed [bracket then **strong** words and a ] later and *em*",
        "intra*word*emphasis and snake_case_name and a*b then *c d* e",
        "~~strike through some words~~ and ~one~ and ~~~ three",
        "![image alt text](https://example.com/i.png) words *em words* end",
        "**a *b **c d** e* f** g *h **i*** j",
        "mail <a@b.org> then <not an autolink then text after",
        "x *a [b* c](https://a.org) d* e",
    };
    for (const char* raw : texts) {
        const QString text = QString::fromUtf8(raw);
        for (const int step : {1, 2, 3, 7}) {
            InlineMarkdownParser::Restart restart;
            for (qsizetype end = 0; end < text.size() + step; end += step) {
                const QStringView prefix = QStringView(text).first(std::min(end, text.size()));
                EXPECT_EQ(InlineMarkdownParser::parse(prefix, restart),
                          InlineMarkdownParser::parse(prefix))
                    << raw << " up to " << prefix.size();
            }
        }
    }
}

// The point of it: a long paragraph of ordinary markup keeps a restart point near its end.
TEST(InlineMarkdownParser, RestartFollowsTheTextOfALongParagraph) {
    QString text;
    while (text.size() < 20000) {
        text +=
            QStringLiteral("Words **strong** with `code`, *em* and a [link](https://a.org/b). ");
    }
    InlineMarkdownParser::Restart restart;
    EXPECT_EQ(InlineMarkdownParser::parse(text, restart), InlineMarkdownParser::parse(text));
    EXPECT_GT(restart.position, text.size() - 100);
    // An opener left open stops the restart point from moving on.
    InlineMarkdownParser::Restart open;
    const QString unclosed = QStringLiteral("an *opener ") + text;
    EXPECT_EQ(InlineMarkdownParser::parse(unclosed, open), InlineMarkdownParser::parse(unclosed));
    EXPECT_LE(open.position, 3);
}
