#include "OpenRouterModel.h"

#include "JsonCoding.h"

#include <QJsonArray>

namespace plimbo {

namespace {

std::optional<QStringList> optionalStringList(const QJsonObject& object, const QString& key) {
    const std::optional<QJsonArray> array = json::optionalArray(object, key);
    if (!array) {
        return std::nullopt;
    }
    QStringList list;
    list.reserve(array->size());
    for (const QJsonValue& element : *array) {
        list.append(json::requireString(element, key));
    }
    return list;
}

template <typename T> size_t hashOptional(const std::optional<T>& value, size_t seed) {
    return value ? qHashMulti(seed, 1, *value) : ::qHash(0, seed);
}

} // namespace

QJsonObject OpenRouterModel::Architecture::toJson() const {
    QJsonObject object;
    json::insertOptional(object, QStringLiteral("input_modalities"), m_inputModalities,
                         [](const QStringList& list) { return QJsonArray::fromStringList(list); });
    json::insertOptional(object, QStringLiteral("output_modalities"), m_outputModalities,
                         [](const QStringList& list) { return QJsonArray::fromStringList(list); });
    return object;
}

OpenRouterModel::Architecture OpenRouterModel::Architecture::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("architecture"));
    Architecture architecture;
    architecture.m_inputModalities = optionalStringList(object, QStringLiteral("input_modalities"));
    architecture.m_outputModalities =
        optionalStringList(object, QStringLiteral("output_modalities"));
    return architecture;
}

QJsonObject OpenRouterModel::Pricing::toJson() const {
    QJsonObject object;
    json::insertOptional(object, QStringLiteral("prompt"), m_prompt);
    json::insertOptional(object, QStringLiteral("completion"), m_completion);
    return object;
}

OpenRouterModel::Pricing OpenRouterModel::Pricing::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("pricing"));
    Pricing pricing;
    pricing.m_prompt = json::optionalString(object, QStringLiteral("prompt"));
    pricing.m_completion = json::optionalString(object, QStringLiteral("completion"));
    return pricing;
}

QString OpenRouterModel::provider() const {
    const QStringList pieces = m_id.split(u'/', Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QStringLiteral("Other") : pieces.first();
}

bool OpenRouterModel::supportsVision() const {
    return m_architecture && m_architecture->inputModalities() &&
           m_architecture->inputModalities()->contains(QStringLiteral("image"));
}

bool OpenRouterModel::isFree() const {
    if (m_id.endsWith(QStringLiteral(":free"))) {
        return true;
    }
    return m_pricing && m_pricing->prompt() == QStringLiteral("0") &&
           m_pricing->completion() == QStringLiteral("0");
}

QJsonObject OpenRouterModel::toJson() const {
    QJsonObject object{{QStringLiteral("id"), m_id}, {QStringLiteral("name"), m_name}};
    json::insertOptional(object, QStringLiteral("context_length"), m_contextLength);
    json::insertOptional(object, QStringLiteral("architecture"), m_architecture,
                         [](const Architecture& value) { return value.toJson(); });
    json::insertOptional(object, QStringLiteral("pricing"), m_pricing,
                         [](const Pricing& value) { return value.toJson(); });
    return object;
}

OpenRouterModel OpenRouterModel::fromJson(const QJsonValue& value) {
    const QJsonObject object = json::requireObject(value, QStringLiteral("model"));
    OpenRouterModel model;
    model.m_id = json::requireString(object, QStringLiteral("id"));
    model.m_name = json::requireString(object, QStringLiteral("name"));
    model.m_contextLength = json::optionalInteger(object, QStringLiteral("context_length"));
    if (const auto architecture = json::optionalObject(object, QStringLiteral("architecture"))) {
        model.m_architecture = Architecture::fromJson(*architecture);
    }
    if (const auto pricing = json::optionalObject(object, QStringLiteral("pricing"))) {
        model.m_pricing = Pricing::fromJson(*pricing);
    }
    return model;
}

size_t qHash(const OpenRouterModel::Architecture& architecture, size_t seed) noexcept {
    seed = hashOptional(architecture.inputModalities(), seed);
    return hashOptional(architecture.outputModalities(), seed);
}

size_t qHash(const OpenRouterModel::Pricing& pricing, size_t seed) noexcept {
    seed = hashOptional(pricing.prompt(), seed);
    return hashOptional(pricing.completion(), seed);
}

size_t qHash(const OpenRouterModel& model, size_t seed) noexcept {
    seed = qHashMulti(seed, model.id(), model.name());
    seed = hashOptional(model.contextLength(), seed);
    seed = hashOptional(model.architecture(), seed);
    return hashOptional(model.pricing(), seed);
}

} // namespace plimbo
