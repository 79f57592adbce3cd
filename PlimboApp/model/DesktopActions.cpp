#include "DesktopActions.h"

#include "FailureText.h"
#include "FileChooser.h"
#include "FileShelf.h"
#include "MainThreadContinuation.h"
#include "MiniCamera.h"
#include "PropertyAssign.h"
#include "SystemActions.h"

#include <QPointer>

namespace plimbo {

DesktopActions::DesktopActions(SystemActions& actions, FileChooser* chooser, MiniCamera* camera,
                               QObject* parent)
    : QObject(parent)
    , m_actions(actions)
    , m_chooser(chooser)
    , m_camera(camera) {}

void DesktopActions::setShelfURLs(const QList<QUrl>& urls) {
    assign(this, m_shelfURLs, urls, &DesktopActions::shelfURLsChanged);
}

void DesktopActions::receiveDroppedFiles(const QList<QUrl>& urls) {
    setShelfURLs(FileShelf::receive(m_shelfURLs, urls));
}

void DesktopActions::removeDroppedFile(const QUrl& url) {
    m_shelfURLs = FileShelf::remove(m_shelfURLs, url);
    emit shelfURLsChanged();
}

void DesktopActions::copyShelfFiles() {
    m_actions.copyFiles(m_shelfURLs);
}

void DesktopActions::openShelfFiles() {
    m_actions.openFiles(m_shelfURLs);
}

void DesktopActions::revealShelfFiles() {
    if (!m_shelfURLs.isEmpty()) {
        m_actions.revealFiles(m_shelfURLs);
    }
}

void DesktopActions::startAirDrop() {
    try {
        // No point asking for files that cannot be sent.
        m_actions.ensureAirDropAvailable();
    } catch (...) {
        emit failed(describeFailure(std::current_exception()));
        return;
    }
    if (!m_chooser) {
        return;
    }
    QPointer<DesktopActions> self(this);
    m_chooser->chooseFiles(FileChooser::Options{QStringLiteral("Choose files for AirDrop"),
                                                QStringLiteral("AirDrop"), true, true},
                           [self](const QList<QUrl>& urls) {
                               if (self && !urls.isEmpty()) {
                                   self->performAirDrop(urls);
                               }
                           });
}

void DesktopActions::performAirDrop(const QList<QUrl>& fileURLs) {
    try {
        m_actions.performAirDrop(fileURLs);
    } catch (...) {
        emit failed(describeFailure(std::current_exception()));
    }
}

void DesktopActions::startScreenshot() {
    try {
        m_actions.startScreenshot();
    } catch (...) {
        emit failed(describeFailure(std::current_exception()));
    }
}

void DesktopActions::toggleMiniCamera() {
    if (!m_camera) {
        return;
    }
    whenFinished(m_camera->toggle(), this, [this](const QFuture<void>& done) {
        try {
            completedNormally(done);
        } catch (...) {
            emit failed(describeFailure(std::current_exception()));
        }
    });
}

} // namespace plimbo
