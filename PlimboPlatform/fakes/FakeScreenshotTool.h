#pragma once

#include "ScreenshotTool.h"

namespace plimbo {

// Answers every open() with `result` and counts the calls.
class FakeScreenshotTool final : public ScreenshotTool {
public:
    OpenResult result = OpenResult::opened;
    int opens = 0;

    OpenResult open() override {
        ++opens;
        return result;
    }
};

} // namespace plimbo
