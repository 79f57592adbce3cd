#include "FileManagerRevealer.h"

#include "Logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFileInfo>
#include <QPromise>
#include <QSet>
#include <QStringList>

namespace plimbo {

namespace {

RevealOutcome openFolders(DesktopServices& opener, const QList<QUrl>& files) {
    bool opened = false;
    for (const QUrl& folder : FileManagerRevealer::containingFolders(files)) {
        opened = opener.openUrl(folder) || opened;
    }
    return opened ? RevealOutcome::openedFolders : RevealOutcome::failed;
}

QFuture<RevealOutcome> finished(RevealOutcome outcome) {
    QPromise<RevealOutcome> promise;
    promise.start();
    promise.addResult(outcome);
    promise.finish();
    return promise.future();
}

} // namespace

FileManagerRevealer::FileManagerRevealer(std::shared_ptr<DesktopServices> folderOpener)
    : FileManagerRevealer(std::move(folderOpener), QDBusConnection::sessionBus(),
                          QString::fromLatin1(defaultServiceName)) {}

FileManagerRevealer::FileManagerRevealer(std::shared_ptr<DesktopServices> folderOpener,
                                         const QDBusConnection& connection,
                                         const QString& serviceName, int timeoutMs)
    : m_folderOpener(std::move(folderOpener))
    , m_connection(connection)
    , m_serviceName(serviceName)
    , m_timeoutMs(timeoutMs) {}

QList<QUrl> FileManagerRevealer::containingFolders(const QList<QUrl>& files) {
    QList<QUrl> folders;
    QSet<QString> seen;
    for (const QUrl& file : files) {
        if (!file.isLocalFile() || file.toLocalFile().isEmpty()) {
            continue;
        }
        const QString folder = QFileInfo(QDir::cleanPath(file.toLocalFile())).path();
        if (!seen.contains(folder)) {
            seen.insert(folder);
            folders.append(QUrl::fromLocalFile(folder));
        }
    }
    return folders;
}

QFuture<RevealOutcome> FileManagerRevealer::reveal(const QList<QUrl>& files) {
    if (files.isEmpty()) {
        return finished(RevealOutcome::failed);
    }
    if (!m_connection.isConnected()) {
        return finished(openFolders(*m_folderOpener, files));
    }
    QStringList uris;
    for (const QUrl& file : files) {
        uris.append(file.toString(QUrl::FullyEncoded));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName),
        QStringLiteral("ShowItems"));
    call << uris << QString();

    auto promise = std::make_shared<QPromise<RevealOutcome>>();
    promise->start();
    QFuture<RevealOutcome> future = promise->future();
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call, m_timeoutMs));
    // The watcher, not this revealer, carries the work to its end, so the revealer may go
    // away meanwhile.
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [promise, opener = m_folderOpener, files](QDBusPendingCallWatcher* self) {
                         if (self->isError()) {
                             qCWarning(platformLog)
                                 << "The file manager did not show the files, so their folders "
                                    "open instead:"
                                 << self->error().name();
                         }
                         const RevealOutcome outcome = self->isError()
                                                           ? openFolders(*opener, files)
                                                           : RevealOutcome::shownInFileManager;
                         promise->addResult(outcome);
                         promise->finish();
                         self->deleteLater();
                     });
    return future;
}

} // namespace plimbo
