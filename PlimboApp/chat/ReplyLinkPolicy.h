#pragma once

#include <QStringView>
#include <QUrl>

#include <optional>

namespace plimbo {

// Which link targets in a reply the user may open. Replies are untrusted text, so a link opens
// only when it is an http or https address with a host, or a mailto link to a single plain
// address; every other scheme, a relative target, and a mail link's query (attach=, body=,
// cc= …) and fragment are refused. The Markdown parser asks it before it makes a link, and the
// text view asks again before it opens one. Pure functions, on any thread.
class ReplyLinkPolicy {
public:
    ReplyLinkPolicy() = delete;

    // The target to open for a link written as `destination`, or none.
    static std::optional<QUrl> openableLink(QStringView destination);
    // A mailto link that carries `address` and nothing else, or none when the address holds
    // anything that would reach the mail client as more than an address.
    static std::optional<QUrl> mailtoLink(QStringView address);
    // The address grammar of CommonMark's email autolinks: local@domain, with the local part's
    // permitted punctuation and dot-separated domain labels of letters, digits and hyphens.
    static bool isEmailAddress(QStringView text);
};

} // namespace plimbo
