#include "PaletteResultsBuilder.h"

#include "ClipboardService.h"
#include "KeepAwakeService.h"
#include "LauncherService.h"
#include "PlimboGlobalShortcut.h"

#include <QLocale>

#include <algorithm>

namespace plimbo {

namespace {

PaletteItem command(const QString& id, PaletteItemKind kind, const QString& title,
                    const QString& subtitle, const QString& symbol, PaletteAction action,
                    double score) {
    return PaletteItem{id, kind, title, subtitle, symbol, std::move(action), score};
}

// The folder holding the application's file, without a trailing slash (the root stays "/").
QString containingFolder(const QUrl& url) {
    return url.adjusted(QUrl::RemoveFilename | QUrl::StripTrailingSlash).path(QUrl::FullyDecoded);
}

bool isCommand(const PaletteItem& item) {
    return item.kind == PaletteItemKind::command || item.kind == PaletteItemKind::ai;
}

} // namespace

QList<PaletteItem> PaletteResultsBuilder::commandItems(bool isKeepingAwake) {
    using Kind = PaletteItemKind;
    return {
        command(QStringLiteral("command.dashboard"), Kind::command, QStringLiteral("Open Plimbo"),
                QStringLiteral("Dashboard"), QStringLiteral("square.grid.2x2"),
                PaletteAction::openDashboard(), 1000),
        command(QStringLiteral("command.launcher"), Kind::command, QStringLiteral("Open Launcher"),
                globalShortcutLabel(PlimboGlobalShortcut::launcher),
                QStringLiteral("sparkle.magnifyingglass"), PaletteAction::openLauncher(), 995),
        command(QStringLiteral("command.clipboard"), Kind::command,
                QStringLiteral("Open Clipboard"),
                globalShortcutLabel(PlimboGlobalShortcut::clipboard), QStringLiteral("clipboard"),
                PaletteAction::openClipboard(), 990),
        command(QStringLiteral("command.ai"), Kind::ai, QStringLiteral("Plimbo AI"),
                QStringLiteral("Open mini assistant"), QStringLiteral("sparkles"),
                PaletteAction::openAI(), 980),
        command(QStringLiteral("command.airdrop"), Kind::command,
                QStringLiteral("Send with AirDrop"), QStringLiteral("Choose files to share"),
                QStringLiteral("antenna.radiowaves.left.and.right"), PaletteAction::airDrop(), 975),
        command(QStringLiteral("command.screenshot"), Kind::command,
                QStringLiteral("Take Screenshot"),
                QStringLiteral("Open the desktop's screenshot tool"), QStringLiteral("viewfinder"),
                PaletteAction::screenshot(), 970),
        command(QStringLiteral("command.keepawake"), Kind::command,
                isKeepingAwake ? QStringLiteral("Allow Sleep")
                               : QStringLiteral("Keep Computer Awake"),
                QStringLiteral("Toggle power assertion"),
                isKeepingAwake ? QStringLiteral("moon.zzz") : QStringLiteral("cup.and.heat.waves"),
                PaletteAction::toggleKeepAwake(), 960),
        command(QStringLiteral("command.settings"), Kind::command, QStringLiteral("Open Settings"),
                QStringLiteral("Plimbo preferences"), QStringLiteral("gearshape"),
                PaletteAction::openSettings(), 900),
    };
}

PaletteItem PaletteResultsBuilder::applicationItem(const ApplicationRecord& record) {
    return PaletteItem{QStringLiteral("app.") + record.id,
                       PaletteItemKind::application,
                       record.name,
                       containingFolder(record.url),
                       QStringLiteral("app"),
                       PaletteAction::launchApplication(record.url),
                       800};
}

PaletteItem PaletteResultsBuilder::clipboardItem(const ClipboardItem& item) {
    const QString time =
        item.createdAt.isValid()
            ? QLocale().toString(item.createdAt.toLocalTime().time(), QLocale::ShortFormat)
            : QString();
    return PaletteItem{QStringLiteral("clipboard.") +
                           item.id.toString(QUuid::WithoutBraces).toUpper(),
                       PaletteItemKind::clipboard,
                       item.preview(),
                       QStringLiteral("Clipboard · ") + time,
                       QStringLiteral("clipboard"),
                       PaletteAction::copyClipboard(item.id),
                       600};
}

QList<PaletteItem> PaletteResultsBuilder::build(const QString& query,
                                                const QList<ApplicationRecord>& applications,
                                                const QList<ClipboardItem>& clipboardItems,
                                                bool isKeepingAwake) {
    const QString trimmed = query.trimmed();
    const qsizetype applicationCount = std::min(applications.size(), applicationLimit);
    const qsizetype clipboardCount = std::min(clipboardItems.size(), clipboardLimit);

    QList<PaletteItem> results = commandItems(isKeepingAwake);
    if (!trimmed.isEmpty()) {
        // The services have matched their own entries; only the commands are matched here.
        results.removeIf([&trimmed](const PaletteItem& item) {
            return isCommand(item) && !item.title.contains(trimmed, Qt::CaseInsensitive) &&
                   !item.subtitle.contains(trimmed, Qt::CaseInsensitive);
        });
    }
    results.reserve(results.size() + applicationCount + clipboardCount);
    for (qsizetype i = 0; i < applicationCount; ++i) {
        results.append(applicationItem(applications[i]));
    }
    for (qsizetype i = 0; i < clipboardCount; ++i) {
        results.append(clipboardItem(clipboardItems[i]));
    }
    std::stable_sort(results.begin(), results.end(),
                     [](const PaletteItem& a, const PaletteItem& b) { return a.score > b.score; });
    if (results.size() > resultLimit) {
        results.resize(resultLimit);
    }
    return results;
}

QList<PaletteItem> PaletteResultsBuilder::build(const QString& query,
                                                const LauncherService& launcher,
                                                const ClipboardService& clipboard,
                                                const KeepAwakeService& keepAwake) {
    const QString trimmed = query.trimmed();
    return build(trimmed, launcher.search(trimmed, applicationLimit),
                 clipboard.search(trimmed, int(clipboardLimit)), keepAwake.isKeepingAwake());
}

} // namespace plimbo
