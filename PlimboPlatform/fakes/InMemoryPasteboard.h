#pragma once

#include "Pasteboard.h"

#include <QPromise>

#include <list>
#include <optional>

namespace plimbo {

// A clipboard held in memory. The copy* calls stand for another application taking the
// clipboard; the Pasteboard calls are what the code under test uses. Reads answer at once,
// unless holdReads() makes them wait, as an owner that does not answer would.
class InMemoryPasteboard final : public Pasteboard {
public:
    ~InMemoryPasteboard() override;

    qint64 changeCount() const override { return m_changeCount; }
    QFuture<PasteboardText> readText(qsizetype maximumBytes) override;
    void writeText(const QString& text) override;
    void writeFileUrls(const QList<QUrl>& urls) override;

    void copyText(const QString& text);
    // Content a password manager marked as secret.
    void copyConcealedText(const QString& text);
    // Content without any plain text (an image, say).
    void copyWithoutText();

    // Reads from now on wait until answerHeldReads() (with what is on the clipboard then) or
    // until this object goes (cancelled).
    void holdReads(bool hold) { m_holdReads = hold; }
    // Answers the waiting reads; how many there were.
    int answerHeldReads();

    std::optional<QString> text() const { return m_text; }
    QList<QUrl> fileUrls() const { return m_urls; }
    int textReads() const { return m_textReads; }
    int writes() const { return m_writes; }

private:
    PasteboardText currentText(qsizetype maximumBytes) const;

    struct HeldRead {
        QPromise<PasteboardText> promise;
        qsizetype maximumBytes;
    };

    qint64 m_changeCount = 0;
    std::optional<QString> m_text;
    QList<QUrl> m_urls;
    bool m_concealed = false;
    bool m_holdReads = false;
    std::list<HeldRead> m_heldReads;
    int m_textReads = 0;
    int m_writes = 0;
};

} // namespace plimbo
