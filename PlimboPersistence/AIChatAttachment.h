#pragma once

#include "AIChatAttachmentKind.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMetaType>
#include <QString>
#include <QUuid>

namespace plimbo {

// A file attached to a prompt. The bytes live in the history store's attachment folder under
// `storageFileName`; this record only describes them.
struct AIChatAttachment {
    QUuid id;
    QString name; // the file name the user attached, without folders
    QString mimeType;
    AIChatAttachmentKind kind = AIChatAttachmentKind::text;
    qint64 byteCount = 0;
    QString storageFileName;

    // All six keys are written and all are required on read; fromJson() throws
    // JsonDecodingError on a missing key, a wrong type, a malformed UUID or an unknown kind.
    QJsonObject toJson() const;
    static AIChatAttachment fromJson(const QJsonValue& value);

    bool operator==(const AIChatAttachment&) const = default;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AIChatAttachment)
