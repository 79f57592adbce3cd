#include "AIChatAttachmentKind.h"

namespace plimbo {

QString toString(AIChatAttachmentKind kind) {
    switch (kind) {
    case AIChatAttachmentKind::image:
        return QStringLiteral("image");
    case AIChatAttachmentKind::pdf:
        return QStringLiteral("pdf");
    case AIChatAttachmentKind::text:
        return QStringLiteral("text");
    }
    return QStringLiteral("text");
}

std::optional<AIChatAttachmentKind> aiChatAttachmentKindFromString(const QString& raw) {
    for (AIChatAttachmentKind kind :
         {AIChatAttachmentKind::image, AIChatAttachmentKind::pdf, AIChatAttachmentKind::text}) {
        if (toString(kind) == raw) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace plimbo
