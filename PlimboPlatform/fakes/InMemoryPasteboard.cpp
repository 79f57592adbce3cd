#include "InMemoryPasteboard.h"

namespace plimbo {

// A promise that goes unfinished cancels its future.
InMemoryPasteboard::~InMemoryPasteboard() = default;

PasteboardText InMemoryPasteboard::currentText(qsizetype maximumBytes) const {
    if (m_concealed) {
        return {PasteboardText::Status::concealed, {}};
    }
    if (!m_text) {
        return {PasteboardText::Status::noText, {}};
    }
    if (m_text->toUtf8().size() > maximumBytes) {
        return {PasteboardText::Status::tooLarge, {}};
    }
    return {PasteboardText::Status::text, *m_text};
}

QFuture<PasteboardText> InMemoryPasteboard::readText(qsizetype maximumBytes) {
    if (m_holdReads) {
        HeldRead& read =
            m_heldReads.emplace_back(HeldRead{QPromise<PasteboardText>(), maximumBytes});
        read.promise.start();
        return read.promise.future();
    }
    if (!m_concealed) {
        ++m_textReads;
    }
    return QtFuture::makeReadyFuture(currentText(maximumBytes));
}

int InMemoryPasteboard::answerHeldReads() {
    int answered = 0;
    while (!m_heldReads.empty()) {
        HeldRead read = std::move(m_heldReads.front());
        m_heldReads.pop_front();
        if (!m_concealed) {
            ++m_textReads;
        }
        read.promise.addResult(currentText(read.maximumBytes));
        read.promise.finish();
        ++answered;
    }
    return answered;
}

void InMemoryPasteboard::writeText(const QString& text) {
    ++m_writes;
    copyText(text);
}

void InMemoryPasteboard::writeFileUrls(const QList<QUrl>& urls) {
    ++m_writes;
    ++m_changeCount;
    m_text.reset();
    m_concealed = false;
    m_urls = urls;
}

void InMemoryPasteboard::copyText(const QString& text) {
    ++m_changeCount;
    m_text = text;
    m_concealed = false;
    m_urls.clear();
}

void InMemoryPasteboard::copyConcealedText(const QString& text) {
    copyText(text);
    m_concealed = true;
}

void InMemoryPasteboard::copyWithoutText() {
    ++m_changeCount;
    m_text.reset();
    m_concealed = false;
    m_urls.clear();
}

} // namespace plimbo
