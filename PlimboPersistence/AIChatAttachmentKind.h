#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// What an attached file is, which decides how it is sent to the assistant.
enum class AIChatAttachmentKind { image, pdf, text };

QString toString(AIChatAttachmentKind kind);
// Exact, case-sensitive match of the raw value.
std::optional<AIChatAttachmentKind> aiChatAttachmentKindFromString(const QString& raw);

} // namespace plimbo
