#include "MarkdownDocument.h"
#include "MarkdownBlockParser.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace plimbo;

namespace {

// Pieces that, cut anywhere, cross every rule's boundaries.
const QString kReply = QStringLiteral(
    "# Heading one\n\nA paragraph with **bold** text\nand a second line.\n\n- first\n* second\n"
    "-\n  - third\n\n1. one\n2. two\n3.5 not\n\n> quoted\n> more\n>not\n\n```python\n"
    "def f():\n    return 1\n```\nAfter code\n#Nope\n## Two ##\n\n   \n12. twelve\n```\nopen");

TEST(MarkdownDocument, GrowingTextAlwaysGivesTheFullParse) {
    // Every cut point, appended one character and then in chunks of several sizes.
    for (const int chunk : {1, 2, 3, 7, 16}) {
        MarkdownDocument document;
        for (qsizetype end = 0; end <= kReply.size(); end += chunk) {
            const QString source = kReply.left(end);
            const QList<MarkdownBlock> before = document.blocks();
            const qsizetype changed = document.setSource(source);
            const QList<MarkdownBlock> expected = MarkdownBlockParser::parse(source);
            ASSERT_EQ(document.blocks(), expected) << "chunk " << chunk << " end " << end;
            // Blocks before the reported index are the ones from before.
            for (qsizetype i = 0; i < changed; ++i) {
                ASSERT_EQ(before.value(i), expected[i]);
            }
            if (changed < expected.size() && changed < before.size()) {
                EXPECT_NE(before[changed], expected[changed]);
            }
        }
    }
}

TEST(MarkdownDocument, OnlyTheTailIsParsedAgain) {
    QString source;
    for (int i = 0; i < 200; ++i) {
        source += QStringLiteral("Paragraph %1 with some words.\n\n").arg(i);
    }
    MarkdownDocument document;
    document.setSource(source);
    const qsizetype blocks = document.blocks().size();
    EXPECT_EQ(blocks, 200);

    const qsizetype changed = document.setSource(source + QStringLiteral("More"));
    EXPECT_EQ(changed, 200);
    EXPECT_EQ(document.blocks().size(), 201);
    EXPECT_LE(document.lastReparsedLines(), 3);

    // The same text again changes nothing.
    EXPECT_EQ(document.setSource(document.source()), 201);
}

TEST(MarkdownDocument, ReplacedTextIsParsedFromTheStart) {
    MarkdownDocument document;
    document.setSource(QStringLiteral("- a\n- b"));
    EXPECT_EQ(document.setSource(QStringLiteral("- a\n# b")), 0);
    EXPECT_EQ(document.blocks(), MarkdownBlockParser::parse(QStringLiteral("- a\n# b")));
    EXPECT_EQ(document.setSource(QString()), 0);
    EXPECT_EQ(document.blocks(), QList<MarkdownBlock>{MarkdownBlock::paragraph(QString())});
}

TEST(MarkdownDocument, RandomEditsMatchTheFullParse) {
    QRandomGenerator random(7);
    const QStringList pieces{"#",  " ",    "-", "*",  ">",   "1", ".",  "```",
                             "\n", "\n\n", "a", "\t", "x y", "2", "#  "};
    for (int round = 0; round < 40; ++round) {
        MarkdownDocument document;
        QString source;
        for (int step = 0; step < 60; ++step) {
            if (random.bounded(10) == 0 && !source.isEmpty()) {
                source.chop(random.bounded(static_cast<int>(source.size())) + 1);
            } else {
                source += pieces[random.bounded(static_cast<int>(pieces.size()))];
            }
            document.setSource(source);
            ASSERT_EQ(document.blocks(), MarkdownBlockParser::parse(source))
                << source.toStdString();
        }
    }
}

} // namespace
