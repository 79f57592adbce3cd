#include "ClipboardSearchText.h"

#include "ClipboardItem.h"

#include <gtest/gtest.h>

#include <QTextBoundaryFinder>

#include <random>

using namespace plimbo;

namespace {

QString fromUcs4(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

// What the history's search decides for one text and one (trimmed, non-empty) query.
bool searchMatches(const QString& text, const QString& query) {
    const std::optional<QByteArray> folded = ClipboardSearchText::foldQuery(query);
    return folded ? ClipboardSearchText(text).contains(*folded)
                  : text.contains(query, Qt::CaseInsensitive);
}

// Characters whose folding or encoding is easy to get wrong, lone surrogates included.
const QStringList tricky{"a",
                         "A",
                         "z",
                         "ß",
                         "ẞ",
                         "ss",
                         "K",
                         "k",
                         "\u212A",
                         "ſ",
                         "s",
                         "S",
                         "İ",
                         "i",
                         "ı",
                         "I",
                         "σ",
                         "ς",
                         "Σ",
                         "ǅ",
                         "ǆ",
                         "Ǆ",
                         "µ",
                         "\u039C",
                         "é",
                         "e\u0301",
                         "\U00010400",
                         "\U00010428",
                         "\U0001E900",
                         "\U0001E922",
                         "😀",
                         "\n",
                         " ",
                         "\r",
                         QString(QChar(0xD801)),
                         QString(QChar(0xDC00)),
                         "\u00FF",
                         "\u0178",
                         "ǰ",
                         "ﬀ"};

QString randomText(std::mt19937& random, int maximumLength) {
    std::uniform_int_distribution<int> length(0, maximumLength);
    std::uniform_int_distribution<qsizetype> pick(0, tricky.size() - 1);
    QString out;
    for (int i = length(random); i > 0; --i) {
        out += tricky[pick(random)];
    }
    return out;
}

// The preview as it was first written: over the whole text.
QString wholeTextPreview(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
    int count = 0;
    while (graphemes.toNextBoundary() != -1) {
        if (++count == 100) {
            return line.left(graphemes.position());
        }
    }
    return line;
}

} // namespace

TEST(ClipboardSearchTextTest, EveryCodePointMatchesItsCaseVariantsAsQStringDoes) {
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (QChar::isSurrogate(c)) {
            continue;
        }
        const QString text = QStringLiteral("x") + fromUcs4(c) + QStringLiteral("y");
        const QByteArray foldedText = ClipboardSearchText::fold(text);
        for (char32_t variant : {c, QChar::toUpper(c), QChar::toLower(c), QChar::toTitleCase(c),
                                 QChar::toCaseFolded(c)}) {
            const QString query = fromUcs4(variant);
            const std::optional<QByteArray> foldedQuery = ClipboardSearchText::foldQuery(query);
            ASSERT_TRUE(foldedQuery);
            ASSERT_EQ(foldedText.contains(*foldedQuery), text.contains(query, Qt::CaseInsensitive))
                << "U+" << std::hex << quint32(c) << " against U+" << quint32(variant);
        }
    }
}

TEST(ClipboardSearchTextTest, RandomTextsAndQueriesMatchAsQStringDoes) {
    std::mt19937 random(18);
    for (int round = 0; round < 20000; ++round) {
        // Long texts take another of QString's search paths than short ones.
        const QString text = randomText(random, round % 10 == 0 ? 700 : 30);
        QString query = randomText(random, 4);
        if (query.isEmpty()) {
            continue;
        }
        ASSERT_EQ(searchMatches(text, query), text.contains(query, Qt::CaseInsensitive))
            << "text " << text.toStdString() << " query " << query.toStdString();
        // A piece of the text in other case is found where QString finds it.
        std::uniform_int_distribution<qsizetype> start(0, std::max<qsizetype>(0, text.size() - 1));
        const QString piece = text.mid(start(random), 1 + round % 6).toUpper();
        if (!piece.isEmpty()) {
            ASSERT_EQ(searchMatches(text, piece), text.contains(piece, Qt::CaseInsensitive))
                << "text " << text.toStdString() << " piece " << piece.toStdString();
        }
    }
}

TEST(ClipboardSearchTextTest, FindsQueriesAnywhereInLongTextsAndRejectsAbsentOnes) {
    QString text;
    for (int i = 0; i < 20000; ++i) {
        text += QStringLiteral("Lorem Ipsum %1 ").arg(i);
    }
    const ClipboardSearchText search(text);
    for (const QString& query : {QStringLiteral("lorem"), QStringLiteral("IPSUM 0 "),
                                 QStringLiteral("ipsum 19999 "), QStringLiteral("m 12345 l")}) {
        EXPECT_TRUE(search.contains(*ClipboardSearchText::foldQuery(query))) << query.toStdString();
    }
    for (const QString& query : {QStringLiteral("ipsum 20000"), QStringLiteral("zebra"),
                                 QStringLiteral("lorem  ipsum"), QStringLiteral("19999 x")}) {
        EXPECT_FALSE(search.contains(*ClipboardSearchText::foldQuery(query)))
            << query.toStdString();
    }
    EXPECT_FALSE(ClipboardSearchText(QStringLiteral("ab")).contains("abc"));
}

TEST(ClipboardSearchTextTest, QueriesWithALoneSurrogateAreLeftToQString) {
    EXPECT_FALSE(ClipboardSearchText::foldQuery(QString(QChar(0xD801))));
    EXPECT_FALSE(ClipboardSearchText::foldQuery(QStringLiteral("a") + QChar(0xDC00)));
    EXPECT_TRUE(ClipboardSearchText::foldQuery(QStringLiteral("\U00010400")));
}

TEST(ClipboardItemTest, PreviewOfAPrefixEqualsThePreviewOfTheWholeText) {
    const QStringList pieces{"a",      "\n",      "\r\n",
                             "\r",     "e\u0301", "\u0301\u0302",
                             "🇩",      "🇪",       "👩‍👩‍👧",
                             "\u200D", "🏻",    "ก\u0E33",
                             "x",      " ",       "\U00010400",
                             "ᄀ",     "ᅡ",      "ᆨ"};
    std::mt19937 random(7);
    std::uniform_int_distribution<qsizetype> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 1500);
    for (int round = 0; round < 400; ++round) {
        ClipboardItem item;
        for (int i = length(random); i > 0; --i) {
            item.text += pieces[pick(random)];
        }
        ASSERT_EQ(item.preview(), wholeTextPreview(item.text)) << item.text.toStdString();
    }
    // Characters far longer than the first prefix the preview looks at.
    ClipboardItem item;
    item.text = QString(98, u'a') + u'e' + QString(3000, QChar(0x0301)) + u'b' + QString(5, u'c');
    EXPECT_EQ(item.preview(), wholeTextPreview(item.text));
    EXPECT_EQ(item.preview().size(), 98 + 1 + 3000 + 1);
    item.text = QString(1000, u'x') + QStringLiteral("\U0001F3FB");
    EXPECT_EQ(item.preview(), QString(100, u'x'));
}
