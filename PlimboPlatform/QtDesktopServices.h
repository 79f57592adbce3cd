#pragma once

#include "DesktopServices.h"

namespace plimbo {

// QDesktopServices (xdg-open and the desktop's portal underneath). Main thread.
class QtDesktopServices final : public DesktopServices {
public:
    bool openUrl(const QUrl& url) override;
};

} // namespace plimbo
