#pragma once

#include <QHashFunctions>
#include <QJsonObject>
#include <QJsonValue>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo {

// One entry of the provider's model catalogue. Read-only: entries come only from reading the
// catalogue (fromJson).
class OpenRouterModel {
public:
    class Architecture {
    public:
        const std::optional<QStringList>& inputModalities() const { return m_inputModalities; }
        const std::optional<QStringList>& outputModalities() const { return m_outputModalities; }

        QJsonObject toJson() const;
        static Architecture fromJson(const QJsonValue& value);

        bool operator==(const Architecture&) const = default;

    private:
        std::optional<QStringList> m_inputModalities;
        std::optional<QStringList> m_outputModalities;
    };

    // Prices stay the text the service sends; they are never turned into numbers.
    class Pricing {
    public:
        const std::optional<QString>& prompt() const { return m_prompt; }
        const std::optional<QString>& completion() const { return m_completion; }

        QJsonObject toJson() const;
        static Pricing fromJson(const QJsonValue& value);

        bool operator==(const Pricing&) const = default;

    private:
        std::optional<QString> m_prompt;
        std::optional<QString> m_completion;
    };

    OpenRouterModel() = default;

    const QString& id() const { return m_id; }
    const QString& name() const { return m_name; }
    const std::optional<qint64>& contextLength() const { return m_contextLength; }
    const std::optional<Architecture>& architecture() const { return m_architecture; }
    const std::optional<Pricing>& pricing() const { return m_pricing; }

    // The first non-empty piece of the id between slashes, or "Other".
    QString provider() const;
    // The input modalities list "image".
    bool supportsVision() const;
    // A ":free" id, or prompt and completion prices both exactly "0".
    bool isFree() const;

    QJsonObject toJson() const;
    // Throws JsonDecodingError.
    static OpenRouterModel fromJson(const QJsonValue& value);

    bool operator==(const OpenRouterModel&) const = default;

private:
    QString m_id;
    QString m_name;
    std::optional<qint64> m_contextLength;
    std::optional<Architecture> m_architecture;
    std::optional<Pricing> m_pricing;
};

size_t qHash(const OpenRouterModel::Architecture& architecture, size_t seed = 0) noexcept;
size_t qHash(const OpenRouterModel::Pricing& pricing, size_t seed = 0) noexcept;
size_t qHash(const OpenRouterModel& model, size_t seed = 0) noexcept;

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::OpenRouterModel)
