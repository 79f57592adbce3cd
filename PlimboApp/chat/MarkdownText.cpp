#include "MarkdownText.h"

#include "MarkdownBlockView.h"
#include "ReplyLinkPolicy.h"
#include "RichTextView.h"

#include <QDesktopServices>
#include <QVBoxLayout>

namespace plimbo {

MarkdownText::MarkdownText(QWidget* parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(8);
    m_layout->setAlignment(Qt::AlignTop);
    setAttribute(Qt::WA_TranslucentBackground);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    updateViews(0);
}

void MarkdownText::setSource(const QString& source) {
    const qsizetype firstChanged = m_document.setSource(source);
    updateViews(firstChanged);
}

void MarkdownText::setSingleLine(bool singleLine) {
    if (m_singleLine != singleLine) {
        m_singleLine = singleLine;
        setSizePolicy(QSizePolicy::Expanding,
                      singleLine ? QSizePolicy::Fixed : QSizePolicy::Preferred);
        rebuildViews();
    }
}

void MarkdownText::setSelectable(bool selectable) {
    if (m_selectable != selectable) {
        m_selectable = selectable;
        rebuildViews();
    }
}

void MarkdownText::setTextColor(std::optional<QColor> color) {
    m_textColor = std::move(color);
    for (MarkdownBlockView* view : m_views) {
        view->setTextColor(m_textColor);
    }
}

void MarkdownText::setLinkHandler(std::function<void(const QUrl&)> handler) {
    m_linkHandler = std::move(handler);
}

void MarkdownText::rebuildViews() {
    for (MarkdownBlockView* view : std::as_const(m_views)) {
        delete view;
    }
    m_views.clear();
    updateViews(0);
}

void MarkdownText::updateViews(qsizetype firstChanged) {
    const QList<MarkdownBlock>& blocks = m_document.blocks();
    const qsizetype shown = m_singleLine ? std::min<qsizetype>(blocks.size(), 1) : blocks.size();
    for (qsizetype i = firstChanged; i < shown; ++i) {
        if (i < m_views.size()) {
            m_views[i]->setBlock(blocks[i]);
            continue;
        }
        auto* view = new MarkdownBlockView(m_singleLine, m_selectable, this);
        view->setTextColor(m_textColor);
        view->setBlock(blocks[i]);
        connect(view, &MarkdownBlockView::linkActivated, this, &MarkdownText::openLink);
        m_layout->addWidget(view);
        m_views.append(view);
    }
    while (m_views.size() > shown) {
        delete m_views.takeLast();
    }
}

void MarkdownText::openLink(const QUrl& url) {
    // Only the parser's checked links reach here; they are checked again all the same, and
    // what opens is the checked form (a mailto address without its query).
    const std::optional<QUrl> checked =
        ReplyLinkPolicy::openableLink(url.toString(QUrl::FullyEncoded));
    if (!checked) {
        return;
    }
    emit linkActivated(*checked);
    if (m_linkHandler) {
        m_linkHandler(*checked);
    } else {
        QDesktopServices::openUrl(*checked);
    }
}

QString MarkdownText::displayedText() const {
    QStringList parts;
    for (const MarkdownBlockView* view : m_views) {
        const QStringList markers = view->markers();
        const QList<RichTextView*> texts = view->textViews();
        QStringList lines;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString text = texts[i]->plainText();
            lines.append(i < markers.size() ? markers[i] + QLatin1Char(' ') + text : text);
        }
        parts.append(lines.join(QLatin1Char('\n')));
    }
    return parts.join(QLatin1Char('\n'));
}

} // namespace plimbo
