#pragma once

#include "Pasteboard.h"
#include "WaylandClipboardReader.h"
#include "X11SelectionReader.h"

#include <QMimeData>
#include <QObject>
#include <QPointer>

#include <memory>

namespace plimbo {

// The application's QClipboard in clipboard mode. Qt tells us about every change, ours and
// other applications', through dataChanged; we count them. Each of our own writes counts
// once: on X11 a notice about an earlier owner (one that quit, say) can arrive after we took
// the clipboard over, and must not look like new content.
// Reads of another application's content go through an X11SelectionReader (made at the first
// read), never through QClipboard, which would transfer the whole selection on the GUI thread.
// Without X11 (offscreen, Wayland without XWayland) QClipboard is read on the calling thread and
// the limit is applied to the text it returns.
// In a Wayland session whose compositor offers the clipboard-manager protocol, a
// WaylandClipboardReader counts the changes and reads them instead: through XWayland, Qt hears of
// a native Wayland program's copy only while an X window has the focus.
class SystemPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
public:
    explicit SystemPasteboard(QObject* parent = nullptr);

    qint64 changeCount() const override;
    QFuture<PasteboardText> readText(qsizetype maximumBytes) override;
    void writeText(const QString& text) override;
    void writeFileUrls(const QList<QUrl>& urls) override;

    static constexpr const char* passwordManagerHintFormat = "x-kde-passwordManagerHint";

private:
    bool readsThroughWayland() const;
    // Made when the clipboard is first watched or read: a pasteboard that only writes needs
    // none.
    void startWaylandReader() const;
    void onDataChanged();
    void setContent(QMimeData* data);
    // Reads QClipboard's current content here and now.
    static PasteboardText readThroughQt(qsizetype maximumBytes);

    qint64 m_changeCount = 0;
    // What this object last put on the clipboard, while it is there.
    QPointer<QMimeData> m_written;
    bool m_triedSelectionReader = false;
    std::unique_ptr<X11SelectionReader> m_selectionReader;
    // Marks what this object writes, so its own writes are no change to it.
    const QString m_ownContentType;
    mutable bool m_triedWaylandReader = false;
    mutable std::unique_ptr<WaylandClipboardReader> m_waylandReader;
};

} // namespace plimbo
