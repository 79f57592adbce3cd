#pragma once

#include "AIUsage.h"

#include <QMetaType>
#include <QString>

#include <optional>

namespace plimbo {

// One event of a streamed answer. Only the fields of the event's kind carry meaning:
// text -> `text`; metadata -> `model`; usage -> `usage`; finished -> `reason` (absent when the
// end marker was reached without a reported reason).
struct AIStreamEvent {
    enum class Kind { text, metadata, usage, finished };

    Kind kind = Kind::text;
    QString text;
    std::optional<QString> model;
    AIUsage usage;
    std::optional<QString> reason;

    static AIStreamEvent makeText(const QString& text);
    static AIStreamEvent makeMetadata(const std::optional<QString>& model);
    static AIStreamEvent makeUsage(const AIUsage& usage);
    static AIStreamEvent makeFinished(const std::optional<QString>& reason);

    bool operator==(const AIStreamEvent&) const = default;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AIStreamEvent)
