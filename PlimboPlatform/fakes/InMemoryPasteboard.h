#pragma once

#include "Pasteboard.h"

namespace plimbo {

// A clipboard held in memory. The copy* calls stand for another application taking the
// clipboard; the Pasteboard calls are what the code under test uses.
class InMemoryPasteboard final : public Pasteboard {
public:
    qint64 changeCount() const override { return m_changeCount; }
    std::optional<QString> readText() const override;
    bool isConcealed() const override { return m_concealed; }
    void writeText(const QString& text) override;
    void writeFileUrls(const QList<QUrl>& urls) override;

    void copyText(const QString& text);
    // Content a password manager marked as secret.
    void copyConcealedText(const QString& text);
    // Content without any plain text (an image, say).
    void copyWithoutText();

    std::optional<QString> text() const { return m_text; }
    QList<QUrl> fileUrls() const { return m_urls; }
    int textReads() const { return m_textReads; }
    int writes() const { return m_writes; }

private:
    qint64 m_changeCount = 0;
    std::optional<QString> m_text;
    QList<QUrl> m_urls;
    bool m_concealed = false;
    mutable int m_textReads = 0;
    int m_writes = 0;
};

} // namespace plimbo
