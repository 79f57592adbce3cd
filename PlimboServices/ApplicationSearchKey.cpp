#include "ApplicationSearchKey.h"

#include <QHashFunctions>
#include <QList>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace plimbo {

ApplicationSearchKey::ApplicationSearchKey(const QString& text)
    : m_text(text.toLower().normalized(QString::NormalizationForm_C)) {
    const bool ascii = std::all_of(m_text.cbegin(), m_text.cend(), [](QChar c) {
        return c.unicode() < 0x80 && c != u'\r'; // CR LF is one character
    });
    if (ascii) {
        m_characters.reserve(size_t(m_text.size()));
        for (QChar c : std::as_const(m_text)) {
            m_characters.push_back(c.unicode());
        }
        return;
    }
    std::vector<qsizetype> bounds{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_text);
    for (qsizetype next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary()) {
        bounds.push_back(next);
    }
    if (bounds.back() != m_text.size()) {
        bounds.push_back(m_text.size());
    }
    bool composite = false;
    for (size_t i = 0; i + 1 < bounds.size(); ++i) {
        const QStringView piece = QStringView(m_text).mid(bounds[i], bounds[i + 1] - bounds[i]);
        const QList<uint> points = piece.toUcs4();
        if (points.size() == 1) {
            m_characters.push_back(char32_t(points.front()));
        } else {
            composite = true;
            m_characters.push_back(Composite | (char32_t(qHash(piece)) & ~Composite));
        }
    }
    if (composite) {
        m_bounds = std::move(bounds);
    }
}

QStringView ApplicationSearchKey::character(qsizetype index) const {
    return QStringView(m_text).mid(m_bounds[size_t(index)],
                                   m_bounds[size_t(index) + 1] - m_bounds[size_t(index)]);
}

bool ApplicationSearchKey::same(const ApplicationSearchKey& a, qsizetype i,
                                const ApplicationSearchKey& b, qsizetype j) {
    return a.character(i) == b.character(j);
}

int ApplicationSearchKey::score(const ApplicationSearchKey& candidate,
                                const ApplicationSearchKey& query) {
    const char32_t* letters = candidate.m_characters.data();
    const char32_t* sought = query.m_characters.data();
    const qsizetype length = candidate.length();
    const qsizetype wanted = query.length();
    // Codes decide, except that equal composite codes still need their texts compared.
    auto equal = [&](qsizetype i, qsizetype j) {
        return letters[i] == sought[j] &&
               (!(letters[i] & Composite) || same(candidate, i, query, j));
    };
    auto matchesAt = [&](qsizetype start) {
        for (qsizetype j = 0; j < wanted; ++j) {
            if (!equal(start + j, j)) {
                return false;
            }
        }
        return true;
    };
    if (wanted <= length && matchesAt(0)) {
        return wanted == length ? 1000 : 800 - int(length);
    }
    if (wanted > 0) {
        for (qsizetype start = 1; start + wanted <= length; ++start) {
            if (letters[start] == sought[0] && matchesAt(start)) {
                return 600 - int(length);
            }
        }
    }
    qsizetype found = 0;
    for (qsizetype i = 0; i < length && found < wanted; ++i) {
        if (equal(i, found)) {
            ++found;
        }
    }
    return found == wanted ? int(10 * wanted) : 0;
}

} // namespace plimbo
