#include "QtDesktopServices.h"

#include <QDesktopServices>

namespace plimbo {

bool QtDesktopServices::openUrl(const QUrl& url) {
    return url.isValid() && !url.isEmpty() && QDesktopServices::openUrl(url);
}

} // namespace plimbo
