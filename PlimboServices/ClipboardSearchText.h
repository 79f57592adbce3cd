#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace plimbo {

// One clipboard text prepared for the history's search, built once when the item is captured
// and never changed. It holds the text case-folded code point by code point, exactly as
// QString::contains(…, Qt::CaseInsensitive) compares (simple folding, surrogates left alone), in
// UTF-8, and which bytes and byte pairs occur in it and how often, and (hashed) which byte
// triples. A query one of whose bytes, pairs or triples never occurs is answered without
// scanning the text; otherwise the scan anchors on the query's rarest byte.
class ClipboardSearchText {
public:
    explicit ClipboardSearchText(QStringView text);

    // The text folded as above; lone surrogates are kept (as three-byte sequences).
    static QByteArray fold(QStringView text);
    // The query folded the same way; none when it holds a lone surrogate, whose matches only
    // QString's own comparison decides.
    static std::optional<QByteArray> foldQuery(QStringView query);

    // Whether the folded text contains the folded query.
    bool contains(const QByteArray& foldedQuery) const;

    qsizetype foldedSize() const { return m_folded.size(); }

private:
    bool mayContain(const QByteArray& foldedQuery) const;

    static constexpr std::size_t tripleBits = 1 << 16;

    QByteArray m_folded;
    std::array<quint32, 256> m_byteCounts{};
    std::vector<bool> m_pairs;
    std::vector<bool> m_triples;
};

} // namespace plimbo
