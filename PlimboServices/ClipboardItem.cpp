#include "ClipboardItem.h"

#include <QTextBoundaryFinder>

namespace plimbo {

QString ClipboardItem::preview() const {
    constexpr int maximumCharacters = 100;
    // Only a prefix is examined, however long the text: a grapheme boundary depends on the text
    // before it and on the one character after it, so every boundary found before the prefix's
    // end is one of the whole text's. The prefix grows until it holds the hundredth boundary.
    for (qsizetype length = 4 * maximumCharacters;; length *= 4) {
        if (length < text.size() && text.at(length - 1).isHighSurrogate()) {
            ++length; // never end the prefix inside a pair
        }
        const bool whole = length >= text.size();
        QString line = whole ? text : text.left(length);
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        // Cut at a grapheme boundary so an emoji or an accented letter is never split.
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
        int count = 0;
        while (graphemes.toNextBoundary() != -1) {
            if (++count == maximumCharacters && (whole || graphemes.position() < line.size())) {
                return line.left(graphemes.position());
            }
        }
        if (whole) {
            return line;
        }
    }
}

} // namespace plimbo
