#include "ReplyLinkPolicy.h"

#include <QString>

namespace plimbo {

namespace {

constexpr qsizetype maximumDomainLabelLength = 63;

bool isAsciiAlphanumeric(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// Characters that would let the text after them reach the mail client as more than an address:
// a query ("?subject=", "?attach="), more recipients or an escaped delimiter.
bool isMailtoAddress(QStringView address) {
    static const QString forbidden = QStringLiteral("?&%,;/\\#");
    for (const QChar c : address) {
        if (forbidden.contains(c) || c.isSpace() || c.unicode() < 0x20) {
            return false;
        }
    }
    return ReplyLinkPolicy::isEmailAddress(address);
}

} // namespace

std::optional<QUrl> ReplyLinkPolicy::openableLink(QStringView destination) {
    const QUrl url(destination.toString().trimmed(), QUrl::TolerantMode);
    if (!url.isValid()) {
        return std::nullopt;
    }
    const QString scheme = url.scheme().toLower();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
        !url.host().isEmpty()) {
        return url;
    }
    if (scheme == QLatin1String("mailto")) {
        // The query and fragment are dropped: only the address itself may open.
        return mailtoLink(url.path(QUrl::FullyDecoded));
    }
    return std::nullopt;
}

std::optional<QUrl> ReplyLinkPolicy::mailtoLink(QStringView address) {
    if (!isMailtoAddress(address)) {
        return std::nullopt;
    }
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address.toString(), QUrl::DecodedMode);
    return url;
}

bool ReplyLinkPolicy::isEmailAddress(QStringView text) {
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    if (at <= 0 || at + 1 >= text.size()) {
        return false;
    }
    static const QString localExtras = QStringLiteral(".!#$%&'*+/=?^_`{|}~-");
    for (qsizetype i = 0; i < at; ++i) {
        if (!isAsciiAlphanumeric(text[i]) && !localExtras.contains(text[i])) {
            return false;
        }
    }
    const QStringView domain = text.mid(at + 1);
    for (const QStringView label : domain.split(QLatin1Char('.'))) {
        if (label.isEmpty() || label.size() > maximumDomainLabelLength ||
            label.front() == QLatin1Char('-') || label.back() == QLatin1Char('-')) {
            return false;
        }
        for (const QChar c : label) {
            if (!isAsciiAlphanumeric(c) && c != QLatin1Char('-')) {
                return false;
            }
        }
    }
    return true;
}

} // namespace plimbo
