#pragma once

#include "DesktopServices.h"
#include "FileRevealer.h"

#include <QDBusConnection>
#include <QString>

#include <memory>

namespace plimbo {

// org.freedesktop.FileManager1.ShowItems on the session bus (Nautilus, Dolphin, Nemo, Thunar
// and others), which opens the file manager with the files selected. When no file manager
// answers in time, the folders that hold the files are opened instead.
class FileManagerRevealer final : public FileRevealer {
public:
    static constexpr const char* defaultServiceName = "org.freedesktop.FileManager1";
    static constexpr const char* objectPath = "/org/freedesktop/FileManager1";
    static constexpr const char* interfaceName = "org.freedesktop.FileManager1";
    // A file manager started on demand by the bus needs a moment; an unowned name fails at
    // once.
    static constexpr int defaultTimeoutMs = 3000;

    explicit FileManagerRevealer(std::shared_ptr<DesktopServices> folderOpener);
    FileManagerRevealer(std::shared_ptr<DesktopServices> folderOpener,
                        const QDBusConnection& connection, const QString& serviceName,
                        int timeoutMs = defaultTimeoutMs);

    QFuture<RevealOutcome> reveal(const QList<QUrl>& files) override;

    // The distinct folders holding the local files, in the files' order.
    static QList<QUrl> containingFolders(const QList<QUrl>& files);

private:
    std::shared_ptr<DesktopServices> m_folderOpener;
    QDBusConnection m_connection;
    QString m_serviceName;
    int m_timeoutMs;
};

} // namespace plimbo
