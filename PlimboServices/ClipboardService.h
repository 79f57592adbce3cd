#pragma once

#include "ClipboardItem.h"
#include "ClipboardSearchText.h"
#include "CoalescedTimer.h"
#include "Pasteboard.h"
#include "PlimboModule.h"
#include "ReadyHealth.h"

#include <QList>
#include <QObject>

#include <chrono>
#include <memory>

namespace plimbo {

// In-memory history of the plain text that passes through the clipboard, newest first.
// A switchable module: while it runs it polls the clipboard's change count; text that looks
// like a secret, text a password manager marked, and very large text are never kept.
class ClipboardService : public QObject, public PlimboModule {
    Q_OBJECT
    Q_PROPERTY(QList<plimbo::ClipboardItem> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)

public:
    static constexpr std::chrono::milliseconds defaultPollInterval{650};
    // Larger text (in UTF-8 bytes) is left out before any pattern looks at it.
    static constexpr qsizetype maximumTextBytes = 1024 * 1024;

    // Watches the desktop clipboard.
    explicit ClipboardService(int maximumItems);
    ClipboardService(int maximumItems, std::unique_ptr<Pasteboard> pasteboard,
                     std::chrono::milliseconds pollInterval = defaultPollInterval);
    ~ClipboardService() override;

    ModuleManifest manifest() const override;
    bool isRunning() const override { return m_isRunning; }
    QFuture<void> start() override;
    QFuture<void> stop() override;
    QFuture<ModuleHealth> healthCheck() override;
    ModuleResourceSnapshot resourceUsageSnapshot() override;

    QList<ClipboardItem> items() const { return m_items; }
    int maximumItems() const { return m_maximumItems; }

    // Newest first; an empty (or blank) query gives the newest `limit` items.
    QList<ClipboardItem> search(const QString& query, int limit) const;
    // Puts the item's text back on the clipboard without adding it to the history again.
    void copyAgain(const QUuid& id);
    // Drops every item that is not pinned.
    void clear();

signals:
    void itemsChanged();
    void isRunningChanged();

private:
    friend class ClipboardServiceTest;

    void poll();
    void capture();
    void take(const PasteboardText& read);
    void setRunning(bool running);

    std::unique_ptr<Pasteboard> m_pasteboard;
    QList<ClipboardItem> m_items;
    // The search's view of each item, at the item's index, built once at capture.
    QList<std::shared_ptr<const ClipboardSearchText>> m_searchTexts;
    bool m_isRunning = false;
    CoalescedTimer m_monitorTimer;
    qint64 m_lastChangeCount = 0;
    // Numbers the reads: only the newest one's answer is taken, and none after a stop.
    quint64 m_readGeneration = 0;
    int m_maximumItems;
    std::chrono::milliseconds m_pollInterval;
    ReadyHealth m_readyHealth;
};

} // namespace plimbo
