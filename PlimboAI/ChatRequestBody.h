#pragma once

#include "AIMessage.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace plimbo {

// Body of every chat request, streamed or one-shot.
struct ChatRequestBody {
    struct Plugin {
        struct PDF {
            QString engine;
            QJsonObject toJson() const;
        };

        QString id;
        std::optional<PDF> pdf;
        QJsonObject toJson() const;
    };

    QString model;
    QList<AIMessage> messages;
    bool stream = false;
    std::optional<double> temperature;
    std::optional<int> maxTokens;
    std::optional<QList<Plugin>> plugins;

    // The one plug-in list ever sent: the PDF parser, for requests that carry a file part.
    static QList<Plugin> fileParserPlugins();

    // Throws WireEncodingError for a temperature that is not a finite number.
    QJsonObject toJson() const;
};

} // namespace plimbo
