#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo {

// One block of a reply as the line-based parser sees it. Blocks never nest.
struct MarkdownBlock {
    enum class Kind { paragraph, heading, unordered, ordered, quote, code };

    Kind kind = Kind::paragraph;
    // Heading level, 1 to 6; 0 for other kinds.
    int level = 0;
    // Paragraph lines joined with line feeds, the heading's text or the code.
    QString text;
    // One entry per list item or quoted line.
    QStringList items;
    // The word after an opening code fence; none when the fence has none.
    std::optional<QString> language;

    static MarkdownBlock paragraph(QString text) {
        return {Kind::paragraph, 0, std::move(text), {}, {}};
    }
    static MarkdownBlock heading(int level, QString text) {
        return {Kind::heading, level, std::move(text), {}, {}};
    }
    static MarkdownBlock unordered(QStringList items) {
        return {Kind::unordered, 0, {}, std::move(items), {}};
    }
    static MarkdownBlock ordered(QStringList items) {
        return {Kind::ordered, 0, {}, std::move(items), {}};
    }
    static MarkdownBlock quote(QStringList lines) {
        return {Kind::quote, 0, {}, std::move(lines), {}};
    }
    static MarkdownBlock code(std::optional<QString> language, QString text) {
        return {Kind::code, 0, std::move(text), {}, std::move(language)};
    }

    bool operator==(const MarkdownBlock&) const = default;
};

} // namespace plimbo
