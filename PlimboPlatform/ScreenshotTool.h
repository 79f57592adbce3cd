#pragma once

namespace plimbo {

// The desktop's interactive screenshot program.
class ScreenshotTool {
public:
    enum class OpenResult {
        opened,
        // No known screenshot program is installed.
        notInstalled,
        // One is installed but could not be started.
        failedToStart,
    };

    virtual ~ScreenshotTool() = default;

    // Starts the program with its capture controls, detached from this process.
    virtual OpenResult open() = 0;
};

} // namespace plimbo
