#pragma once

#include "ApplicationRecord.h"
#include "ClipboardItem.h"
#include "PaletteItem.h"

#include <QList>
#include <QString>

namespace plimbo {

class ClipboardService;
class KeepAwakeService;
class LauncherService;

// The command palette's one ranked list: the fixed commands that match the query, then the
// applications, then the clipboard entries, cut to 24 entries.
class PaletteResultsBuilder {
public:
    static constexpr qsizetype applicationLimit = 12;
    static constexpr qsizetype clipboardLimit = 8;
    static constexpr qsizetype resultLimit = 24;

    // applications and clipboardItems are what the launcher and clipboard searches returned
    // for this query, in their order; they are kept without matching again, up to their
    // limits. isKeepingAwake picks the keep-awake command's wording.
    static QList<PaletteItem> build(const QString& query,
                                    const QList<ApplicationRecord>& applications,
                                    const QList<ClipboardItem>& clipboardItems,
                                    bool isKeepingAwake);
    // Runs the two searches with their limits and reads the keep-awake state.
    static QList<PaletteItem> build(const QString& query, const LauncherService& launcher,
                                    const ClipboardService& clipboard,
                                    const KeepAwakeService& keepAwake);

    // The eight commands in their fixed order, before any matching.
    static QList<PaletteItem> commandItems(bool isKeepingAwake);
    static PaletteItem applicationItem(const ApplicationRecord& record);
    static PaletteItem clipboardItem(const ClipboardItem& item);
};

} // namespace plimbo
