#include "AIAttachmentFailureList.h"

#include "AIAttachmentError.h"
#include "AIAttachmentPreparer.h"

namespace plimbo {

void AIAttachmentFailureList::add(const QUrl& fileURL, const QString& description) {
    m_lines.append(AIAttachmentPreparer::displayName(fileURL) + QStringLiteral(": ") + description);
}

void AIAttachmentFailureList::add(const QUrl& fileURL, const PlimboError& error) {
    add(fileURL, error.description());
}

void AIAttachmentFailureList::add(const QUrl& fileURL, const std::exception_ptr& error) {
    if (!error) {
        add(fileURL, AIAttachmentError(AIAttachmentError::Kind::unreadable).description());
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const PlimboError& failure) {
        add(fileURL, failure.description());
    } catch (const std::exception& failure) {
        add(fileURL, QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        add(fileURL, AIAttachmentError(AIAttachmentError::Kind::unreadable).description());
    }
}

void AIAttachmentFailureList::addFileLimitReached() {
    m_lines.append(QStringLiteral("You can attach up to %1 files per message.")
                       .arg(AIAttachmentPreparer::maximumPendingAttachments));
}

} // namespace plimbo
