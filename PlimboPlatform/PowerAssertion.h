#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// Keeps the display from idling into sleep while an assertion is held. An identifier of 0 is
// as valid as any other, so "held" is the presence of an identifier, never its value.
class PowerAssertion {
public:
    virtual ~PowerAssertion() = default;

    // Synchronous and bounded in time. None when the system refused or did not answer.
    virtual std::optional<quint32> createNoDisplaySleepAssertion(const QString& name) = 0;
    // False when the system did not confirm the release.
    virtual bool releaseAssertion(quint32 id) = 0;
};

} // namespace plimbo
