#include "AIAttachmentError.h"

namespace plimbo {

QString AIAttachmentError::description() const {
    switch (m_kind) {
    case Kind::unsupportedType:
        return QStringLiteral("Use an image, PDF, or text/code file.");
    case Kind::unreadable:
        return QStringLiteral("Plimbo could not read this file.");
    case Kind::tooLarge:
        return QStringLiteral("Each attachment must be 10 MB or smaller.");
    case Kind::textTooLarge:
        return QStringLiteral("Text and code files must be 128 KB or smaller.");
    case Kind::totalTooLarge:
        return QStringLiteral("Attachments in one message must total 15 MB or less.");
    }
    return QStringLiteral("Plimbo could not read this file.");
}

} // namespace plimbo
