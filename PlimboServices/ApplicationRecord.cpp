#include "ApplicationRecord.h"

namespace plimbo {

ApplicationRecord::ApplicationRecord(const QString& name, const QUrl& url, const QString& icon)
    : id(url.path(QUrl::FullyDecoded))
    , name(name)
    , url(url)
    , icon(icon) {}

size_t qHash(const ApplicationRecord& record, size_t seed) noexcept {
    return qHashMulti(seed, record.id, record.name, record.url, record.icon);
}

} // namespace plimbo
