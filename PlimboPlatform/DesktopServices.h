#pragma once

#include <QUrl>

namespace plimbo {

// Opens files, folders and web addresses in the user's preferred applications.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // False when no application could be started for it.
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace plimbo
