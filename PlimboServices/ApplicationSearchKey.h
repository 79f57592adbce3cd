#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace plimbo {

// A name prepared for matching: lower-cased, canonically composed, and cut into user-perceived
// characters (grapheme clusters), so that comparisons never split a character. Built once per
// indexed name, off the main thread.
class ApplicationSearchKey {
public:
    ApplicationSearchKey() = default;
    explicit ApplicationSearchKey(const QString& text);

    const QString& text() const { return m_text; }
    // Number of characters.
    qsizetype length() const { return qsizetype(m_characters.size()); }

    // 1000 equal; 800 - length when the candidate begins with the query; 600 - length when it
    // contains it; else 10 per query character found in order, 0 when not all are found.
    static int score(const ApplicationSearchKey& candidate, const ApplicationSearchKey& query);

private:
    // Characters of more than one code point carry this bit and a hash; equal codes are
    // confirmed against the text.
    static constexpr char32_t Composite = 0x80000000u;

    // Compares two composite characters by their text.
    static bool same(const ApplicationSearchKey& a, qsizetype i, const ApplicationSearchKey& b,
                     qsizetype j);
    QStringView character(qsizetype index) const;

    QString m_text;
    // One code per character: its code point, or Composite | hash.
    std::vector<char32_t> m_characters;
    // Where each character starts in m_text, plus the end; kept only when a composite
    // character needs its text.
    std::vector<qsizetype> m_bounds;
};

} // namespace plimbo
