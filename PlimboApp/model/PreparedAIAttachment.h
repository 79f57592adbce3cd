#pragma once

#include "AIChatAttachmentKind.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace plimbo {

// One file checked and ready to store: what goes into the attachment folder and the record.
struct PreparedAIAttachment {
    QByteArray data;  // the file as read, or its JPEG re-encoding
    QString fileName; // the file's own name, or its base name + ".jpg" after re-encoding
    QString mimeType;
    AIChatAttachmentKind kind = AIChatAttachmentKind::text;
    std::optional<QImage> image; // decoded, for thumbnails; images only
};

} // namespace plimbo
