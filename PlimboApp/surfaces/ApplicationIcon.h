#pragma once

#include <QIcon>
#include <QString>

namespace plimbo {

struct ApplicationRecord;

// The icon the desktop shows for an application: its entry's Icon value as a file or a theme
// icon, else a plain application symbol. Looked up once per Icon value (main thread only).
class ApplicationIcon {
public:
    ApplicationIcon() = delete;

    static QIcon forRecord(const ApplicationRecord& record, const QColor& fallbackColor);
};

} // namespace plimbo
