#pragma once

#include "MiniCameraService.h"
#include "PlimboError.h"

#include <QFuture>
#include <QString>
#include <QTest>

#include <exception>
#include <optional>

namespace plimbo::test {

// Waits for the future; the text of its failure, or none when it finished normally.
inline std::optional<QString> outcome(QFuture<void> future) {
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 1000)) {
        return QStringLiteral("still running");
    }
    try {
        future.waitForFinished();
    } catch (const PlimboError& error) {
        return error.description();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

inline bool idle(const MiniCameraService& service) {
    return !service.isActive() && !service.isStarting();
}

} // namespace plimbo::test
