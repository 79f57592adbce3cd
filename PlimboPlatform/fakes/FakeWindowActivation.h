#pragma once

#include "WindowActivation.h"

#include <QList>

namespace plimbo {

// A desktop whose frontmost application the test sets. Activating an application makes it
// frontmost, unless the test makes activation fail.
class FakeWindowActivation final : public WindowActivation {
public:
    std::optional<RunningApplication> frontmost;
    bool activationWorks = true;
    QList<RunningApplication> activated;
    int frontmostQueries = 0;

    std::optional<RunningApplication> frontmostApplication() override {
        ++frontmostQueries;
        return frontmost;
    }

    bool activate(const RunningApplication& application) override {
        activated.append(application);
        if (activationWorks) {
            frontmost = application;
        }
        return activationWorks;
    }
};

} // namespace plimbo
