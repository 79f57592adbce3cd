#pragma once

#include <QString>
#include <QUrl>

namespace plimbo {

// A stretch of inline text with one set of styles. `link` is set only for a link the user may
// open (http, https or mailto); other link targets leave their text unlinked.
struct InlineRun {
    enum Style : unsigned {
        emphasis = 1u << 0,
        strong = 1u << 1,
        code = 1u << 2,
        strikethrough = 1u << 3,
    };

    QString text;
    unsigned styles = 0;
    QUrl link;

    bool operator==(const InlineRun&) const = default;
};

} // namespace plimbo
