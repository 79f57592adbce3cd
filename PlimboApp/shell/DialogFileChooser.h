#pragma once

#include "FileChooser.h"

namespace plimbo {

// The file chooser as a non-modal Qt file dialog brought to the front.
class DialogFileChooser final : public FileChooser {
public:
    void chooseFiles(const Options& options,
                     std::function<void(const QList<QUrl>& urls)> done) override;
};

} // namespace plimbo
