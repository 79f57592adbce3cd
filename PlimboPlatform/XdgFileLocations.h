#pragma once

#include "FileLocations.h"

namespace plimbo {

// The XDG base directories as Qt resolves them ($XDG_DATA_HOME, else ~/.local/share).
class XdgFileLocations : public FileLocations {
public:
    std::optional<QString> applicationSupportDirectory() const override;
    QString temporaryDirectory() const override;
};

} // namespace plimbo
