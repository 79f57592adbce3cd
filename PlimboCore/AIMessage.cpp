#include "AIMessage.h"

#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <algorithm>

namespace plimbo {

namespace {

using Part = AIMessage::ContentPart;

const QString kRole = QStringLiteral("role");
const QString kContent = QStringLiteral("content");
const QString kType = QStringLiteral("type");
const QString kText = QStringLiteral("text");
const QString kImageURL = QStringLiteral("image_url");
const QString kFile = QStringLiteral("file");
const QString kURL = QStringLiteral("url");
const QString kFilename = QStringLiteral("filename");
const QString kFileData = QStringLiteral("file_data");

} // namespace

// Content parts

Part Part::makeText(const QString& text) {
    Part part;
    part.type = Kind::text;
    part.text = text;
    return part;
}

Part Part::makeImage(const QString& dataURL) {
    Part part;
    part.type = Kind::imageURL;
    part.imageURL = ImageURL{dataURL};
    return part;
}

Part Part::makeFile(const QString& filename, const QString& dataURL) {
    Part part;
    part.type = Kind::file;
    part.file = FileContent{filename, dataURL};
    return part;
}

QString Part::kindToString(Kind kind) {
    switch (kind) {
    case Kind::text:
        return kText;
    case Kind::imageURL:
        return kImageURL;
    case Kind::file:
        return kFile;
    }
    return kText;
}

std::optional<Part::Kind> Part::kindFromString(const QString& raw) {
    for (Kind kind : {Kind::text, Kind::imageURL, Kind::file}) {
        if (kindToString(kind) == raw) {
            return kind;
        }
    }
    return std::nullopt;
}

QJsonObject Part::toJson() const {
    QJsonObject object{{kType, kindToString(type)}};
    json::insertOptional(object, kText, text);
    json::insertOptional(object, kImageURL, imageURL, [](const ImageURL& image) {
        return QJsonObject{{kURL, image.url}};
    });
    json::insertOptional(object, kFile, file, [](const FileContent& content) {
        return QJsonObject{{kFilename, content.filename}, {kFileData, content.fileData}};
    });
    return object;
}

Part Part::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("content part"));
    const QString rawType = json::requireString(object, kType);
    const std::optional<Kind> kind = kindFromString(rawType);
    if (!kind) {
        throw JsonDecodingError(JsonDecodingError::Reason::invalidValue,
                                QStringLiteral("type: unknown part type \"%1\"").arg(rawType));
    }
    Part part;
    part.type = *kind;
    part.text = json::optionalString(object, kText);
    if (const auto image = json::optionalObject(object, kImageURL)) {
        part.imageURL = ImageURL{json::requireString(*image, kURL)};
    }
    if (const auto file = json::optionalObject(object, kFile)) {
        part.file = FileContent{json::requireString(*file, kFilename),
                                json::requireString(*file, kFileData)};
    }
    return part;
}

// Content

AIMessage::Content AIMessage::Content::text(const QString& text) {
    Content content;
    content.m_value = text;
    return content;
}

AIMessage::Content AIMessage::Content::parts(const QList<ContentPart>& parts) {
    Content content;
    content.m_value = parts;
    return content;
}

QJsonValue AIMessage::Content::toJson() const {
    if (const auto* text = std::get_if<QString>(&m_value)) {
        return QJsonValue(*text);
    }
    QJsonArray array;
    for (const ContentPart& part : std::get<QList<ContentPart>>(m_value)) {
        array.append(part.toJson());
    }
    return array;
}

// A string first; anything else must be an array of valid parts, and its error is the one
// reported.
AIMessage::Content AIMessage::Content::fromJson(const QJsonValue& value) {
    if (value.isString()) {
        return text(value.toString());
    }
    const QJsonArray array = json::requireArray(value, kContent);
    QList<ContentPart> list;
    list.reserve(array.size());
    for (const QJsonValue& element : array) {
        list.append(ContentPart::fromJson(element));
    }
    return parts(list);
}

// Message

AIMessage::AIMessage(Role role, const QString& text)
    : role(role)
    , content(Content::text(text)) {}

AIMessage::AIMessage(Role role, const QList<ContentPart>& parts)
    : role(role)
    , content(Content::parts(parts)) {}

bool AIMessage::containsFile() const {
    const QList<ContentPart>* parts = content.asParts();
    return parts && std::any_of(parts->cbegin(), parts->cend(), [](const ContentPart& part) {
               return part.type == Part::Kind::file;
           });
}

QString AIMessage::roleToString(Role role) {
    switch (role) {
    case Role::system:
        return QStringLiteral("system");
    case Role::user:
        return QStringLiteral("user");
    case Role::assistant:
        return QStringLiteral("assistant");
    }
    return QStringLiteral("user");
}

std::optional<AIMessage::Role> AIMessage::roleFromString(const QString& raw) {
    for (Role role : {Role::system, Role::user, Role::assistant}) {
        if (roleToString(role) == raw) {
            return role;
        }
    }
    return std::nullopt;
}

QJsonObject AIMessage::toJson() const {
    return QJsonObject{{kRole, roleToString(role)}, {kContent, content.toJson()}};
}

AIMessage AIMessage::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("message"));
    const QString rawRole = json::requireString(object, kRole);
    const std::optional<Role> parsedRole = roleFromString(rawRole);
    if (!parsedRole) {
        throw JsonDecodingError(JsonDecodingError::Reason::invalidValue,
                                QStringLiteral("role: unknown role \"%1\"").arg(rawRole));
    }
    const QJsonValue rawContent = object.value(kContent);
    if (rawContent.isUndefined() || rawContent.isNull()) {
        throw JsonDecodingError(JsonDecodingError::Reason::missingValue,
                                QStringLiteral("content: missing value"));
    }
    AIMessage message;
    message.role = *parsedRole;
    message.content = Content::fromJson(rawContent);
    return message;
}

// Hashing

size_t qHash(const AIMessage::ContentPart& part, size_t seed) noexcept {
    QtPrivate::QHashCombine combine;
    seed = combine(seed, static_cast<int>(part.type));
    seed = combine(seed, part.text.value_or(QString()));
    seed = combine(seed, part.text.has_value());
    seed = combine(seed, part.imageURL ? part.imageURL->url : QString());
    seed = combine(seed, part.imageURL.has_value());
    seed = combine(seed, part.file ? part.file->filename : QString());
    seed = combine(seed, part.file ? part.file->fileData : QString());
    return combine(seed, part.file.has_value());
}

size_t qHash(const AIMessage::Content& content, size_t seed) noexcept {
    QtPrivate::QHashCombine combine;
    if (const QString* text = content.asText()) {
        return combine(combine(seed, 0), *text);
    }
    seed = combine(seed, 1);
    for (const AIMessage::ContentPart& part : *content.asParts()) {
        seed = combine(seed, qHash(part));
    }
    return seed;
}

size_t qHash(const AIMessage& message, size_t seed) noexcept {
    return qHashMulti(seed, static_cast<int>(message.role), qHash(message.content));
}

} // namespace plimbo
