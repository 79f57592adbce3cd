#pragma once

#include "Pasteboard.h"

#include <QMimeData>
#include <QObject>
#include <QPointer>

namespace plimbo {

// The application's QClipboard in clipboard mode. Qt tells us about every change, ours and
// other applications', through dataChanged; we count them. Each of our own writes counts
// once: on X11 a notice about an earlier owner (one that quit, say) can arrive after we took
// the clipboard over, and must not look like new content.
class SystemPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
public:
    explicit SystemPasteboard(QObject* parent = nullptr);

    qint64 changeCount() const override { return m_changeCount; }
    std::optional<QString> readText() const override;
    bool isConcealed() const override;
    void writeText(const QString& text) override;
    void writeFileUrls(const QList<QUrl>& urls) override;

    static constexpr const char* passwordManagerHintFormat = "x-kde-passwordManagerHint";

private:
    void onDataChanged();
    void setContent(QMimeData* data);

    qint64 m_changeCount = 0;
    // What this object last put on the clipboard, while it is there.
    QPointer<QMimeData> m_written;
};

} // namespace plimbo
