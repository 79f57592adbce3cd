#pragma once

#include "DesktopServices.h"

#include <QList>
#include <QSet>

namespace plimbo {

// Records every URL asked for; the ones in `refused` fail to open.
class FakeDesktopServices final : public DesktopServices {
public:
    QList<QUrl> opened;
    QSet<QUrl> refused;

    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return !refused.contains(url);
    }
};

} // namespace plimbo
