#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// Where per-user data and scratch files go.
class FileLocations {
public:
    virtual ~FileLocations() = default;

    // The per-user data folder that applications keep their own folder in ($XDG_DATA_HOME on
    // Linux); none when the system names none. The application's "Plimbo" folder goes inside.
    virtual std::optional<QString> applicationSupportDirectory() const = 0;
    // A folder for scratch files; always names one.
    virtual QString temporaryDirectory() const = 0;
};

} // namespace plimbo
