#include "InMemoryPasteboard.h"

namespace plimbo {

std::optional<QString> InMemoryPasteboard::readText() const {
    ++m_textReads;
    return m_text;
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
