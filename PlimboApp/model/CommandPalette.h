#pragma once

#include "PaletteItem.h"

#include <QList>
#include <QObject>
#include <QString>

namespace plimbo {

class ClipboardService;
class KeepAwakeService;
class LauncherService;

// The command palette's search text and its ranked results, built from the launcher's index,
// the clipboard history and the keep-awake switch. Main thread only; borrows the services from
// the model, which outlives it. Acting on a result is the model's job (it crosses features).
class CommandPalette : public QObject {
    Q_OBJECT

public:
    CommandPalette(const LauncherService& launcher, const ClipboardService& clipboard,
                   const KeepAwakeService& keepAwake, QObject* parent = nullptr);

    QString query() const { return m_query; }
    // Always rebuilds the results, even when the text is unchanged: the services' state may
    // have moved on since the last build.
    void setQuery(const QString& query);
    QList<PaletteItem> results() const { return m_results; }
    // Builds the results for the current query again (after the modules started, say).
    void rebuild();

signals:
    void queryChanged();
    void resultsChanged();

private:
    const LauncherService& m_launcher;
    const ClipboardService& m_clipboard;
    const KeepAwakeService& m_keepAwake;
    QString m_query;
    QList<PaletteItem> m_results;
};

} // namespace plimbo
