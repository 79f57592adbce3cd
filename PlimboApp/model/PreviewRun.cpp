#include "PreviewRun.h"

#include "AIChatAttachment.h"
#include "AIChatSession.h"
#include "AIChatTurn.h"
#include "ChatComposer.h"
#include "ChatList.h"
#include "ChatSession.h"
#include "Clock.h"
#include "DesktopActions.h"
#include "NotchController.h"
#include "NotchSurface.h"
#include "StoredAttachments.h"
#include "WindowRouter.h"

#include <QDir>
#include <QImage>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace plimbo {

namespace {

const QString kMenuPreview = QStringLiteral("--show-menu-preview");
const QString kNotchPreview = QStringLiteral("--show-notch-preview");
const QString kAIChatPreview = QStringLiteral("--show-ai-chat-preview");
const QString kMiniAIPreview = QStringLiteral("--show-mini-ai-preview");
const QString kMiniAIChatPreview = QStringLiteral("--show-mini-ai-chat-preview");
const QString kLauncherPreview = QStringLiteral("--show-launcher-preview");
const QString kClipboardPreview = QStringLiteral("--show-clipboard-preview");
const QString kSettingsPreview = QStringLiteral("--show-settings-preview");
const QString kAbout = QStringLiteral("--show-about");

const QString kPreviewIconName = QStringLiteral("PlimboIcon.png");

AIChatAttachment sampleAttachment(const QString& name, const QString& mimeType,
                                  AIChatAttachmentKind kind, qint64 byteCount,
                                  const QString& storageFileName) {
    return AIChatAttachment{QUuid::createUuid(), name, mimeType, kind, byteCount, storageFileName};
}

} // namespace

PreviewRun::PreviewRun(QStringList arguments, QString applicationPath,
                       std::optional<QString> resourceDirectory, const Clock& clock,
                       Surfaces surfaces, QObject* parent)
    : QObject(parent)
    , m_arguments(std::move(arguments))
    , m_applicationPath(std::move(applicationPath))
    , m_resourceDirectory(std::move(resourceDirectory))
    , m_clock(clock)
    , m_surfaces(surfaces) {}

bool PreviewRun::has(const QString& argument) const {
    return m_arguments.contains(argument);
}

bool PreviewRun::isPreviewRun() const {
    return std::any_of(m_arguments.cbegin(), m_arguments.cend(), [](const QString& argument) {
        return argument.startsWith(QStringLiteral("--show-"));
    });
}

bool PreviewRun::isMiniAIRun() const {
    return has(kMiniAIPreview) || has(kMiniAIChatPreview);
}

void PreviewRun::showMiniAI() {
    WindowRouter& windows = m_surfaces.windows;
    windows.createMiniAI();
    if (has(kMiniAIChatPreview)) {
        seedMiniConversation();
    }
    windows.showMiniAI();
}

void PreviewRun::act() {
    WindowRouter& windows = m_surfaces.windows;
    if (has(kMenuPreview)) {
        windows.createMenuPreview();
        windows.showMenuPreview();
    } else if (has(kNotchPreview)) {
        QList<QUrl> shelf;
        if (!m_applicationPath.isEmpty()) {
            shelf.append(QUrl::fromLocalFile(m_applicationPath));
        }
        if (m_resourceDirectory) {
            shelf.append(
                QUrl::fromLocalFile(QDir(*m_resourceDirectory).filePath(kPreviewIconName)));
        }
        m_surfaces.desktop.setShelfURLs(shelf);
        if (windows.notch()) {
            windows.notch()->show(true);
        }
    } else if (has(kAIChatPreview)) {
        seedChats();
        windows.showDashboard(AppSection::ai);
    } else if (has(kLauncherPreview)) {
        QTimer::singleShot(0, &windows, [&windows] { windows.showQuickPanel(windows.launcher()); });
    } else if (has(kClipboardPreview)) {
        QTimer::singleShot(0, &windows,
                           [&windows] { windows.showQuickPanel(windows.clipboard()); });
    } else if (has(kSettingsPreview)) {
        windows.openSettings(SettingsSection::general);
    } else if (has(kAbout)) {
        windows.showAbout();
    } else {
        m_surfaces.notch.presentOrHide();
    }
}

void PreviewRun::seedChats() {
    // Sample chats stand in for the real ones in memory only: nothing of this run may be
    // written over the user's history file.
    m_surfaces.chats.useSampleChats();

    const QDateTime now = m_clock.now();
    const AIChatAttachment image =
        sampleAttachment(QStringLiteral("plimbo-reference.png"), QStringLiteral("image/png"),
                         AIChatAttachmentKind::image, 418000, QStringLiteral("preview-only.png"));
    const AIChatAttachment pdf =
        sampleAttachment(QStringLiteral("afternoon-plan.pdf"), QStringLiteral("application/pdf"),
                         AIChatAttachmentKind::pdf, 248000, QStringLiteral("preview-only.pdf"));
    const AIChatAttachment notes =
        sampleAttachment(QStringLiteral("notes.md"), QStringLiteral("text/markdown"),
                         AIChatAttachmentKind::text, 1240, QStringLiteral("preview-only.md"));

    const QDateTime planTime = now.addSecs(-1800);
    const AIChatTurn planTurn(
        QUuid::createUuid(), QStringLiteral("Summarize this plan and tell me what to do first."),
        QStringLiteral("Start with the **single most meaningful task**.\n\n1. Focus for 45 "
                       "minutes.\n2. Take a short break.\n3. Review what changed."),
        planTime, AIChatTurnState::completed, {image, pdf});
    const AIChatSession plan{QUuid::createUuid(),
                             QStringLiteral("Focused afternoon plan"),
                             {planTurn},
                             planTime,
                             planTime};

    const QDateTime warmTime = now.addSecs(-86400);
    const AIChatTurn warmTurn(QUuid::createUuid(),
                              QStringLiteral("Make this message sound warmer."),
                              QStringLiteral("Of course — paste the message here and I’ll keep "
                                             "the meaning while making the tone more welcoming."),
                              warmTime, AIChatTurnState::completed, {});
    const AIChatSession warm{
        QUuid::createUuid(), QStringLiteral("Warm up a message"), {warmTurn}, warmTime, warmTime};

    m_surfaces.chats.showSampleChats({plan, warm}, plan.id);
    if (m_resourceDirectory) {
        const QImage icon(QDir(*m_resourceDirectory).filePath(kPreviewIconName));
        if (!icon.isNull()) {
            m_surfaces.attachments.insertImage(image.id, icon);
        }
    }
    m_surfaces.session.setOutput(planTurn.response);
    m_surfaces.composer.setPendingAttachments({notes});
    m_surfaces.session.setStatus(ChatStatus::ready);
}

void PreviewRun::seedMiniConversation() {
    // The sample turn would otherwise be saved into the selected real chat by the next send.
    m_surfaces.chats.useSampleChats();

    const AIChatAttachment image =
        sampleAttachment(QStringLiteral("reference.png"), QStringLiteral("image/png"),
                         AIChatAttachmentKind::image, 84000, QStringLiteral("preview-only.png"));
    const AIChatAttachment followUp =
        sampleAttachment(QStringLiteral("follow-up.pdf"), QStringLiteral("application/pdf"),
                         AIChatAttachmentKind::pdf, 126000, QStringLiteral("preview-only.pdf"));
    const AIChatTurn turn(
        QUuid::createUuid(), QStringLiteral("What should I notice in this image?"),
        QStringLiteral("Look first at the **main subject**, then compare the smaller details "
                       "around it."),
        m_clock.now(), AIChatTurnState::completed, {image});
    m_surfaces.chats.showSampleTurns({turn});
    m_surfaces.composer.setPendingAttachments({followUp});
}

} // namespace plimbo
