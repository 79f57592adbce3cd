#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace plimbo {

// One indexed application: its desktop entry file, the name shown and searched, and the
// entry's Icon value (a theme icon name or an absolute path; empty when it has none).
struct ApplicationRecord {
    // The entry file's path (the URL's path).
    QString id;
    QString name;
    QUrl url;
    QString icon;

    ApplicationRecord() = default;
    ApplicationRecord(const QString& name, const QUrl& url, const QString& icon = {});

    bool operator==(const ApplicationRecord&) const = default;
};

} // namespace plimbo
