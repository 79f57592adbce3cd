#pragma once

#include <QHashFunctions>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>
#include <variant>

namespace plimbo {

// One chat message in the provider's content shape. toJson() is exactly what goes into the
// request body's message list. fromJson() throws JsonDecodingError on any shape mismatch.
struct AIMessage {
    enum class Role { system, user, assistant };

    struct ContentPart {
        enum class Kind { text, imageURL, file };

        struct ImageURL {
            QString url;
            bool operator==(const ImageURL&) const = default;
        };

        struct FileContent {
            QString filename;
            QString fileData; // a data URL of the file
            bool operator==(const FileContent&) const = default;
        };

        Kind type = Kind::text;
        std::optional<QString> text;
        std::optional<ImageURL> imageURL;
        std::optional<FileContent> file;

        // Makers set the field that matches the kind and leave the other two absent.
        static ContentPart makeText(const QString& text);
        static ContentPart makeImage(const QString& dataURL);
        static ContentPart makeFile(const QString& filename, const QString& dataURL);

        static QString kindToString(Kind kind);
        static std::optional<Kind> kindFromString(const QString& raw);

        QJsonObject toJson() const;
        static ContentPart fromJson(const QJsonValue& value);

        bool operator==(const ContentPart&) const = default;
    };

    // Either plain text or a list of typed parts; coded as one JSON value (string or array).
    class Content {
    public:
        Content() = default;
        static Content text(const QString& text);
        static Content parts(const QList<ContentPart>& parts);

        bool isText() const { return std::holds_alternative<QString>(m_value); }
        bool isParts() const { return !isText(); }
        // Point into this content; null when it holds the other case.
        const QString* asText() const { return std::get_if<QString>(&m_value); }
        const QList<ContentPart>* asParts() const {
            return std::get_if<QList<ContentPart>>(&m_value);
        }

        QJsonValue toJson() const;
        static Content fromJson(const QJsonValue& value);

        bool operator==(const Content&) const = default;

    private:
        std::variant<QString, QList<ContentPart>> m_value;
    };

    Role role = Role::user;
    Content content;

    AIMessage() = default;
    AIMessage(Role role, const QString& text);
    AIMessage(Role role, const QList<ContentPart>& parts);

    // True when the content is a part list with at least one part of kind `file`.
    bool containsFile() const;

    static QString roleToString(Role role);
    static std::optional<Role> roleFromString(const QString& raw);

    QJsonObject toJson() const;
    static AIMessage fromJson(const QJsonValue& value);

    bool operator==(const AIMessage&) const = default;
};

size_t qHash(const AIMessage::ContentPart& part, size_t seed = 0) noexcept;
size_t qHash(const AIMessage::Content& content, size_t seed = 0) noexcept;
size_t qHash(const AIMessage& message, size_t seed = 0) noexcept;

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AIMessage)
