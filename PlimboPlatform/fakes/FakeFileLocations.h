#pragma once

#include "FileLocations.h"

namespace plimbo {

// Fixed folders chosen by the test.
class FakeFileLocations : public FileLocations {
public:
    FakeFileLocations(std::optional<QString> applicationSupport, QString temporary)
        : m_applicationSupport(std::move(applicationSupport))
        , m_temporary(std::move(temporary)) {}

    std::optional<QString> applicationSupportDirectory() const override {
        return m_applicationSupport;
    }
    QString temporaryDirectory() const override { return m_temporary; }

private:
    std::optional<QString> m_applicationSupport;
    QString m_temporary;
};

} // namespace plimbo
