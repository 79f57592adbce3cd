#pragma once

#include "AIChatHistoryStore.h"
#include "AIChatSession.h"
#include "AppModel.h"
#include "FakeAIStreamingClient.h"
#include "FakeAirDropService.h"
#include "FakeApplicationFolders.h"
#include "FakeAtomicFileWriter.h"
#include "FakeClock.h"
#include "FakeDesktopServices.h"
#include "FakeFileRevealer.h"
#include "FakeHostStatistics.h"
#include "FakeHotKeyBackend.h"
#include "FakePermissionBackend.h"
#include "FakePowerAssertion.h"
#include "FakeScreenshotTool.h"
#include "FakeSurfaces.h"
#include "FakeWindowActivation.h"
#include "InMemoryPasteboard.h"
#include "InMemorySecretStore.h"
#include "InMemorySettingsStore.h"
#include "QueuedTaskExecutor.h"

#include <QTemporaryDir>

#include <memory>

namespace plimbo::test {

// An application model wired to in-memory fakes, with its chat history in a temporary folder.
// Change the fakes or `arguments` before makeModel(); each model gets fresh services.
class AppModelHarness {
public:
    AppModelHarness();

    QTemporaryDir root;
    QStringList arguments{QStringLiteral("plimbo")};
    std::shared_ptr<InMemorySettingsStore> settings = std::make_shared<InMemorySettingsStore>();
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<QueuedTaskExecutor> executor = std::make_shared<QueuedTaskExecutor>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    std::shared_ptr<FakeAtomicFileWriter> writer = std::make_shared<FakeAtomicFileWriter>();
    std::shared_ptr<AIChatHistoryStore> store;
    std::shared_ptr<FakeAIStreamingClient> ai = std::make_shared<FakeAIStreamingClient>();
    std::shared_ptr<InMemoryPasteboard> pasteboard = std::make_shared<InMemoryPasteboard>();
    std::shared_ptr<FakeApplicationFolders> folders = std::make_shared<FakeApplicationFolders>();
    std::shared_ptr<FakeHotKeyBackend::State> hotKeys =
        std::make_shared<FakeHotKeyBackend::State>();
    std::shared_ptr<FakePowerAssertion::State> power =
        std::make_shared<FakePowerAssertion::State>();
    std::shared_ptr<FakeDesktopServices> desktop = std::make_shared<FakeDesktopServices>();
    std::shared_ptr<FakeFileRevealer> revealer = std::make_shared<FakeFileRevealer>();
    std::shared_ptr<FakeScreenshotTool> screenshots = std::make_shared<FakeScreenshotTool>();
    std::shared_ptr<FakeAirDropService> airDrop = std::make_shared<FakeAirDropService>();
    std::shared_ptr<InMemoryPasteboard> shelfPasteboard = std::make_shared<InMemoryPasteboard>();
    std::shared_ptr<FakeWindowActivation> windows = std::make_shared<FakeWindowActivation>();
    std::shared_ptr<FakeSurfaceFactory> surfaces = std::make_shared<FakeSurfaceFactory>();
    std::shared_ptr<FakeFileChooser> chooser = std::make_shared<FakeFileChooser>();
    std::shared_ptr<FakeMiniCamera> camera = std::make_shared<FakeMiniCamera>();
    std::chrono::milliseconds healthInterval{std::chrono::seconds(4)};

    AppModelDependencies dependencies();
    // Waits until the model has published the history, as a user would see it a moment after
    // start-up.
    std::unique_ptr<AppModel> makeModel();
    // Returns at once, while the history is still loading.
    std::unique_ptr<AppModel> makeLoadingModel();
    // Swaps in a real clipboard service on an in-memory board, polled every millisecond;
    // returns the board, for the test to copy to and read back.
    static InMemoryPasteboard* usePolledClipboard(AppModelDependencies& dependencies);
    // Another application copies `text` to that board; true once the model's clipboard history
    // has taken it (the service is started first when it is not running).
    static bool copyToClipboard(AppModel& model, InMemoryPasteboard& board, const QString& text);

    QString historyPath() const { return store->fileURL(); }
    QString attachmentsPath() const { return store->attachmentsDirectoryURL(); }
    void storeKey(const QString& key);
    // Writes the chats as the history file, as an earlier run would have left it.
    void writeHistory(const QList<AIChatSession>& chats);
    QList<AIChatSession> readHistory() const;
    // Stores bytes in the attachment folder the way an earlier run would have.
    AIChatAttachment storeAttachment(const QByteArray& bytes, const QString& name,
                                     AIChatAttachmentKind kind = AIChatAttachmentKind::text) const;
    bool attachmentFileExists(const AIChatAttachment& attachment) const;
    // Types and sends a prompt; true once its request reached the stand-in AI client.
    bool send(AppModel& model, const QString& prompt) const;
    // The names of the files in the attachment folder.
    QStringList storedAttachmentFiles() const;
    // A file outside the store, for attaching.
    QUrl sourceFile(const QString& name, const QByteArray& bytes) const;
};

// A chat with `turnCount` completed turns, updated at `updatedAt`.
AIChatSession makeChat(const QString& title, const QDateTime& updatedAt, int turnCount = 1);
// The names of the attachments waiting to be sent, in order.
QStringList pendingAttachmentNames(const ChatComposer& composer);
QStringList pendingAttachmentNames(const AppModel& model);
// Spins the event loop until the condition holds (false after two seconds).
bool settle(const std::function<bool()>& condition);
// Spins the event loop for a short while, for checks that something does not happen.
void spin(int milliseconds = 20);

} // namespace plimbo::test
