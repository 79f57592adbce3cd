#include "ApplicationRecord.h"

namespace plimbo {

ApplicationRecord::ApplicationRecord(const QString& name, const QUrl& url, const QString& icon)
    : id(url.path(QUrl::FullyDecoded))
    , name(name)
    , url(url)
    , icon(icon) {}

} // namespace plimbo
