#include "ClipboardItem.h"

#include <QHashFunctions>
#include <QTextBoundaryFinder>

namespace plimbo {

QString ClipboardItem::preview() const {
    constexpr int maximumCharacters = 100;
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Cut at a grapheme boundary so an emoji or an accented letter is never split.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
    int count = 0;
    while (graphemes.toNextBoundary() != -1) {
        if (++count == maximumCharacters) {
            return line.left(graphemes.position());
        }
    }
    return line;
}

size_t qHash(const ClipboardItem& item, size_t seed) noexcept {
    return qHashMulti(seed, item.id, item.text, item.createdAt, item.isPinned);
}

} // namespace plimbo
