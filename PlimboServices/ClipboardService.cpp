#include "ClipboardService.h"

#include "MainThreadContinuation.h"
#include "SystemPasteboard.h"

#include <QRegularExpression>

namespace plimbo {

namespace {

// The clipboard's own secret check: the redactor's first three patterns. It deliberately
// leaves out the six-digit code pattern, which would hide every copied number of six digits.
bool containsSensitiveData(const QString& text) {
    static const QList<QRegularExpression> patterns = [] {
        const auto options = QRegularExpression::UseUnicodePropertiesOption;
        QList<QRegularExpression> list{
            QRegularExpression(QStringLiteral("sk-or-v1-[A-Za-z0-9_-]{16,}"), options),
            QRegularExpression(QStringLiteral("-----BEGIN (?:RSA |EC |OPENSSH )?PRIVATE KEY-----"),
                               options),
            QRegularExpression(
                QStringLiteral("(?i)(?:api[_ -]?key|token|password)\\s*[:=]\\s*[^\\s]{8,}"),
                options),
        };
        for (QRegularExpression& pattern : list) {
            pattern.optimize();
        }
        return list;
    }();
    for (const QRegularExpression& pattern : patterns) {
        if (pattern.match(text).hasMatch()) {
            return true;
        }
    }
    return false;
}

bool exceedsMaximumSize(const QString& text) {
    // UTF-8 never takes fewer bytes than UTF-16 code units, nor more than three per unit.
    if (text.size() > ClipboardService::maximumTextBytes) {
        return true;
    }
    if (text.size() * 3 <= ClipboardService::maximumTextBytes) {
        return false;
    }
    return text.toUtf8().size() > ClipboardService::maximumTextBytes;
}

} // namespace

ClipboardService::ClipboardService(int maximumItems)
    : ClipboardService(maximumItems, std::make_unique<SystemPasteboard>()) {}

ClipboardService::ClipboardService(int maximumItems, std::unique_ptr<Pasteboard> pasteboard,
                                   std::chrono::milliseconds pollInterval)
    : m_pasteboard(std::move(pasteboard))
    , m_maximumItems(maximumItems)
    , m_pollInterval(pollInterval) {
    // Whatever is on the clipboard before the service exists is never taken.
    m_lastChangeCount = m_pasteboard->changeCount();
    m_monitorTimer.setSingleShot(true);
    // Shares its wake-ups with the program's other periodic work.
    connect(&m_monitorTimer, &CoalescedTimer::timeout, this, &ClipboardService::poll);
}

ClipboardService::~ClipboardService() = default;

ModuleManifest ClipboardService::manifest() const {
    return ModuleManifest{
        QStringLiteral("clipboard"),
        QStringLiteral("Clipboard"),
        QStringLiteral("Search recent text while keeping sensitive-looking values out of history."),
        QStringLiteral("clipboard"),
        PlimboCapabilityStatus::available,
        true,
    };
}

void ClipboardService::setRunning(bool running) {
    if (m_isRunning != running) {
        m_isRunning = running;
        emit isRunningChanged();
    }
}

QFuture<void> ClipboardService::start() {
    if (!m_isRunning) {
        setRunning(true);
        m_lastChangeCount = m_pasteboard->changeCount();
        // The first pass runs as soon as the event loop is free, then one per interval.
        m_monitorTimer.start(std::chrono::milliseconds(0));
    }
    return QtFuture::makeReadyFuture();
}

QFuture<void> ClipboardService::stop() {
    m_monitorTimer.stop();
    ++m_readGeneration; // a read still on its way is dropped
    setRunning(false);
    return QtFuture::makeReadyFuture();
}

QFuture<ModuleHealth> ClipboardService::healthCheck() {
    if (!m_isRunning) {
        return m_readyHealth(ModuleHealth::stopped());
    }
    return m_readyHealth(
        ModuleHealth::healthy(QString::number(m_items.size()) + QStringLiteral(" text items")));
}

ModuleResourceSnapshot ClipboardService::resourceUsageSnapshot() {
    if (m_isRunning) {
        return {1, QStringLiteral("Low-frequency pasteboard monitor")};
    }
    return {0, QStringLiteral("Dormant")};
}

void ClipboardService::poll() {
    if (!m_isRunning) {
        return;
    }
    capture();
    // Re-armed after the capture, so a slow read never stacks passes.
    if (m_isRunning) {
        m_monitorTimer.start(m_pollInterval);
    }
}

void ClipboardService::capture() {
    const qint64 changeCount = m_pasteboard->changeCount();
    if (changeCount == m_lastChangeCount) {
        return;
    }
    // Noted before any test, so rejected content is not looked at again.
    m_lastChangeCount = changeCount;
    // The read never blocks the poll: an owner that does not answer delays only its own
    // content, and a newer copy's read makes the older answer worthless.
    const quint64 generation = ++m_readGeneration;
    const QFuture<PasteboardText> read = m_pasteboard->readText(maximumTextBytes);
    const auto taken = [this, generation](const QFuture<PasteboardText>& finished) {
        if (generation != m_readGeneration || finished.isCanceled() ||
            finished.resultCount() == 0) {
            return;
        }
        take(finished.result());
    };
    if (read.isFinished()) {
        taken(read);
    } else {
        whenFinished(read, this, taken);
    }
}

void ClipboardService::take(const PasteboardText& read) {
    const QString& text = read.text;
    if (read.status != PasteboardText::Status::text || text.isEmpty()) {
        return;
    }
    if (exceedsMaximumSize(text) || containsSensitiveData(text)) {
        return;
    }
    if (!m_items.isEmpty() && m_items.constFirst().text == text) {
        return;
    }
    m_searchTexts.prepend(std::make_shared<const ClipboardSearchText>(text));
    m_items.prepend(
        ClipboardItem{QUuid::createUuid(), text, QDateTime::currentDateTimeUtc(), false});
    emit itemsChanged();

    if (m_items.size() <= m_maximumItems) {
        return;
    }
    // Evict the oldest unpinned items; pinned ones stay even past the limit.
    qsizetype excess = m_items.size() - m_maximumItems;
    for (qsizetype i = m_items.size() - 1; i >= 0 && excess > 0; --i) {
        if (!m_items.at(i).isPinned) {
            m_items.removeAt(i);
            m_searchTexts.removeAt(i);
            --excess;
            emit itemsChanged();
        }
    }
}

QList<ClipboardItem> ClipboardService::search(const QString& query, int limit) const {
    QList<ClipboardItem> result;
    if (limit <= 0) {
        return result;
    }
    const QString trimmed = query.trimmed();
    // Each keystroke searches the whole history: the folded copies answer without folding or
    // scanning megabytes of text again. A query with a lone surrogate takes QString's own path.
    const std::optional<QByteArray> folded = ClipboardSearchText::foldQuery(trimmed);
    for (qsizetype i = 0; i < m_items.size() && result.size() < limit; ++i) {
        const ClipboardItem& item = m_items.at(i);
        if (trimmed.isEmpty() || (folded ? m_searchTexts.at(i)->contains(*folded)
                                         : item.text.contains(trimmed, Qt::CaseInsensitive))) {
            result.append(item);
        }
    }
    return result;
}

void ClipboardService::copyAgain(const QUuid& id) {
    for (const ClipboardItem& item : std::as_const(m_items)) {
        if (item.id == id) {
            m_pasteboard->writeText(item.text);
            // Our own write must not come back as a new entry.
            m_lastChangeCount = m_pasteboard->changeCount();
            return;
        }
    }
}

void ClipboardService::clear() {
    bool removed = false;
    for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
        if (!m_items.at(i).isPinned) {
            m_items.removeAt(i);
            m_searchTexts.removeAt(i);
            removed = true;
        }
    }
    if (removed) {
        emit itemsChanged();
    }
}

} // namespace plimbo
