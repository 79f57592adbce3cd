#pragma once

#include "AIStreamEvent.h"
#include "OpenRouterError.h"

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Readable gtest failure output for the client's value types.
namespace plimbo {

inline void PrintTo(const OpenRouterError& error, std::ostream* out) {
    *out << "OpenRouterError(" << error.description().toStdString() << ")";
}

inline void PrintTo(const AIStreamEvent& event, std::ostream* out) {
    switch (event.kind) {
    case AIStreamEvent::Kind::text:
        *out << "text(" << event.text.toStdString() << ")";
        break;
    case AIStreamEvent::Kind::metadata:
        *out << "metadata(" << event.model.value_or("-").toStdString() << ")";
        break;
    case AIStreamEvent::Kind::usage:
        *out << "usage(" << event.usage.promptTokens.value_or(-1) << ","
             << event.usage.completionTokens.value_or(-1) << ","
             << event.usage.totalTokens.value_or(-1) << ")";
        break;
    case AIStreamEvent::Kind::finished:
        *out << "finished(" << event.reason.value_or("-").toStdString() << ")";
        break;
    }
}

} // namespace plimbo
