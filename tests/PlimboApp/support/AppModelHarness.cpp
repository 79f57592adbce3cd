#include "AppModelHarness.h"

#include "ClipboardService.h"
#include "FakeFileLocations.h"
#include "GlobalHotKeyController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "KeepAwakeService.h"
#include "KeychainService.h"
#include "LauncherService.h"
#include "PermissionCenter.h"
#include "SystemActions.h"
#include "SystemMonitorService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace plimbo::test {

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList namesOf(const QList<AIChatAttachment>& attachments) {
    QStringList names;
    for (const AIChatAttachment& attachment : attachments) {
        names.append(attachment.name);
    }
    return names;
}

} // namespace

AppModelHarness::AppModelHarness() {
    store = std::make_shared<AIChatHistoryStore>(
        root.filePath(QStringLiteral("Plimbo/AIChats.json")),
        root.filePath(QStringLiteral("Plimbo/AIChatAttachments")),
        FakeFileLocations(root.path(), root.path()), writer, clock);
}

InMemoryPasteboard* AppModelHarness::usePolledClipboard(AppModelDependencies& dependencies) {
    auto pasteboard = std::make_unique<InMemoryPasteboard>();
    InMemoryPasteboard* board = pasteboard.get();
    dependencies.clipboard = std::make_shared<ClipboardService>(100, std::move(pasteboard),
                                                                std::chrono::milliseconds(1));
    return board;
}

bool AppModelHarness::copyToClipboard(AppModel& model, InMemoryPasteboard& board,
                                      const QString& text) {
    ClipboardService& clipboard = model.clipboard();
    if (!clipboard.isRunning()) {
        clipboard.start();
    }
    const qsizetype before = clipboard.items().size();
    board.copyText(text);
    return settle([&] { return clipboard.items().size() > before; });
}

AppModelDependencies AppModelHarness::dependencies() {
    AppModelDependencies dependencies;
    dependencies.arguments = arguments;
    dependencies.settings = settings;
    dependencies.clock = clock;
    dependencies.executor = executor;
    dependencies.keychain =
        std::make_shared<KeychainService>(AppModel::keychainServiceName, secrets);
    dependencies.historyStore = store;
    dependencies.aiClient = ai;
    dependencies.pasteboard = pasteboard;
    dependencies.launcher = std::make_shared<LauncherService>(folders);
    dependencies.clipboard =
        std::make_shared<ClipboardService>(100, std::make_unique<InMemoryPasteboard>());
    dependencies.keepAwake =
        std::make_shared<KeepAwakeService>(std::make_unique<FakePowerAssertion>(power));
    dependencies.systemMonitor =
        std::make_shared<SystemMonitorService>(std::make_shared<FakeHostStatistics>());
    dependencies.permissions =
        std::make_shared<PermissionCenter>(std::make_shared<FakePermissionBackend>());
    dependencies.systemActions = std::make_shared<SystemActions>(
        SystemActions::Platform{desktop, revealer, screenshots, airDrop, shelfPasteboard});
    dependencies.focusCoordinator =
        std::make_shared<GlobalSurfaceFocusCoordinator>(windows, /*ownProcessIdentifier=*/1);
    dependencies.makeHotKeyController = [state = hotKeys] {
        return std::make_unique<GlobalHotKeyController>(std::make_unique<FakeHotKeyBackend>(state));
    };
    dependencies.surfaces = surfaces;
    dependencies.miniCamera = camera;
    dependencies.fileChooser = chooser;
    dependencies.applicationPath = root.filePath(QStringLiteral("bin/plimbo"));
    dependencies.healthInterval = healthInterval;
    return dependencies;
}

std::unique_ptr<AppModel> AppModelHarness::makeModel() {
    std::unique_ptr<AppModel> model = makeLoadingModel();
    settle([&] { return model->isAIHistoryLoaded(); });
    return model;
}

std::unique_ptr<AppModel> AppModelHarness::makeLoadingModel() {
    return std::make_unique<AppModel>(dependencies());
}

void AppModelHarness::storeKey(const QString& key) {
    KeychainService(AppModel::keychainServiceName, secrets)
        .save(key, KeychainService::openRouterAccount);
}

void AppModelHarness::writeHistory(const QList<AIChatSession>& chats) {
    writeBytes(historyPath(), AIChatHistoryStore::encodeHistory(chats));
}

QList<AIChatSession> AppModelHarness::readHistory() const {
    return AIChatHistoryStore::decodeHistory(readBytes(historyPath()));
}

AIChatAttachment AppModelHarness::storeAttachment(const QByteArray& bytes, const QString& name,
                                                  AIChatAttachmentKind kind) const {
    return store->saveAttachment(bytes, name, QStringLiteral("application/octet-stream"), kind);
}

bool AppModelHarness::attachmentFileExists(const AIChatAttachment& attachment) const {
    return QFile::exists(QDir(attachmentsPath()).filePath(attachment.storageFileName));
}

QUrl AppModelHarness::sourceFile(const QString& name, const QByteArray& bytes) const {
    const QString path = root.filePath(QStringLiteral("source/") + name);
    writeBytes(path, bytes);
    return QUrl::fromLocalFile(path);
}

AIChatSession makeChat(const QString& title, const QDateTime& updatedAt, int turnCount) {
    AIChatSession chat{QUuid::createUuid(), title, {}, updatedAt, updatedAt};
    for (int i = 0; i < turnCount; ++i) {
        chat.turns.append(AIChatTurn(QUuid::createUuid(), QStringLiteral("prompt %1").arg(i),
                                     QStringLiteral("answer %1").arg(i), updatedAt,
                                     AIChatTurnState::completed, {}));
    }
    return chat;
}

bool AppModelHarness::send(AppModel& model, const QString& prompt) const {
    const qsizetype before = ai->calls.size();
    model.setAiInput(prompt);
    model.sendAI();
    return settle([&] { return ai->calls.size() == before + 1; });
}

QStringList AppModelHarness::storedAttachmentFiles() const {
    return QDir(attachmentsPath()).entryList(QDir::Files);
}

QStringList pendingAttachmentNames(const ChatComposer& composer) {
    return namesOf(composer.pendingAttachments());
}

QStringList pendingAttachmentNames(const AppModel& model) {
    return namesOf(model.pendingAIAttachments());
}

bool settle(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 2000);
}

void spin(int milliseconds) {
    QTest::qWait(milliseconds);
}

} // namespace plimbo::test
