#include "MarkdownBlockView.h"

#include "ChatStyle.h"
#include "CodeScrollArea.h"
#include "InlineMarkdownParser.h"
#include "PlimboTheme.h"
#include "RichTextView.h"
#include "RoundedBox.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace plimbo {

namespace {

QString marker(bool numbered, qsizetype index) {
    if (!numbered) {
        return QStringLiteral("•");
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(index + 1) + QLatin1Char('.');
}

} // namespace

MarkdownBlockView::MarkdownBlockView(bool singleLine, bool selectable, QWidget* parent)
    : QWidget(parent)
    , m_singleLine(singleLine)
    , m_selectable(selectable)
    , m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    setAttribute(Qt::WA_TranslucentBackground);
}

void MarkdownBlockView::setBlock(const MarkdownBlock& block) {
    if (m_built && block == m_block) {
        return;
    }
    const bool sameShape =
        m_built && block.kind == m_block.kind &&
        (block.kind != MarkdownBlock::Kind::heading || block.level == m_block.level);
    const MarkdownBlock previous = std::exchange(m_block, block);
    if (sameShape) {
        updateContent(previous);
        return;
    }
    clear();
    build();
}

void MarkdownBlockView::setTextColor(std::optional<QColor> color) {
    m_textColor = std::move(color);
    if (m_built) {
        clear();
        build();
    }
}

QList<InlineRun> MarkdownBlockView::runsFor(const QString& text) const {
    return withoutLinks(InlineMarkdownParser::parse(text));
}

QList<InlineRun> MarkdownBlockView::paragraphRuns() {
    // A streaming paragraph grows at its end: parse it again only from the last restart point.
    const QString& text = m_block.text;
    const qsizetype kept = m_restart.position;
    if (kept > text.size() ||
        QStringView(text).first(kept) != QStringView(m_restartText).first(kept)) {
        m_restart = {};
    }
    m_restartText = text;
    return withoutLinks(InlineMarkdownParser::parse(text, m_restart));
}

QList<InlineRun> MarkdownBlockView::withoutLinks(QList<InlineRun> runs) const {
    if (m_singleLine) {
        for (InlineRun& run : runs) {
            run.link = QUrl();
        }
    }
    return runs;
}

QColor MarkdownBlockView::baseColor() const {
    return m_textColor.value_or(palette().color(QPalette::WindowText));
}

QFont MarkdownBlockView::blockFont() const {
    const QFont base = font();
    if (m_block.kind != MarkdownBlock::Kind::heading) {
        return base;
    }
    QFont heading =
        m_block.level == 1 ? ChatStyle::scaled(base, ChatStyle::TextStyle::title3) : base;
    heading.setWeight(QFont::DemiBold);
    return heading;
}

void MarkdownBlockView::clear() {
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_text = nullptr;
    m_rows.clear();
    m_rowBox = nullptr;
    m_language = nullptr;
    m_bar = nullptr;
    m_codeScroll = nullptr;
    m_built = false;
}

RichTextView* MarkdownBlockView::makeText(bool inlineMarkdown) {
    auto* text = new RichTextView;
    text->setHugsContent(false);
    text->setSelectable(m_selectable && !m_singleLine);
    if (m_singleLine) {
        text->setTextLayout(RichTextView::Layout::singleLine);
    }
    if (m_textColor) {
        text->setTextColor(m_textColor);
    }
    if (inlineMarkdown) {
        connect(text, &RichTextView::linkActivated, this, &MarkdownBlockView::linkActivated);
    }
    return text;
}

MarkdownBlockView::Row MarkdownBlockView::makeRow() {
    Row row;
    row.widget = new QWidget;
    auto* layout = new QHBoxLayout(row.widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(7);
    row.marker = ChatStyle::plainLabel(QString());
    if (m_textColor) {
        QPalette palette = row.marker->palette();
        palette.setColor(QPalette::WindowText, *m_textColor);
        row.marker->setPalette(palette);
    }
    row.text = makeText(true);
    layout->addWidget(row.marker, 0, Qt::AlignTop);
    layout->addWidget(row.text, 1, Qt::AlignTop);
    return row;
}

void MarkdownBlockView::updateRows(const QStringList& items, bool numbered) {
    const qsizetype shown = m_singleLine ? std::min<qsizetype>(items.size(), 1) : items.size();
    auto* rows = static_cast<QVBoxLayout*>(m_rowBox->layout());
    for (qsizetype i = 0; i < shown; ++i) {
        if (i >= m_rows.size()) {
            Row row = makeRow();
            row.marker->setText(marker(numbered, i));
            row.text->setRuns(runsFor(items[i]));
            rows->addWidget(row.widget);
            m_rows.append(row);
        } else if (m_rows[i].text->property("source").toString() != items[i]) {
            m_rows[i].text->setRuns(runsFor(items[i]));
        }
        m_rows[i].text->setProperty("source", items[i]);
    }
    while (m_rows.size() > shown) {
        delete m_rows.takeLast().widget;
    }
}

void MarkdownBlockView::build() {
    using Kind = MarkdownBlock::Kind;
    m_built = true;
    switch (m_block.kind) {
    case Kind::paragraph:
    case Kind::heading:
        m_text = makeText(true);
        m_text->setRuns(paragraphRuns());
        m_layout->addWidget(m_text);
        break;
    case Kind::unordered:
    case Kind::ordered: {
        m_rowBox = new QWidget;
        auto* rows = new QVBoxLayout(m_rowBox);
        rows->setContentsMargins(0, 0, 0, 0);
        rows->setSpacing(4);
        m_layout->addWidget(m_rowBox);
        updateRows(m_block.items, m_block.kind == Kind::ordered);
        break;
    }
    case Kind::quote: {
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(9);
        auto* bar = new RoundedBox;
        bar->setRadius(1);
        bar->setFill(RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.65)));
        bar->setFixedWidth(3);
        bar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        m_bar = bar;
        m_text = makeText(true);
        m_text->setTextColor(ChatStyle::secondary(baseColor(), palette().color(QPalette::Window)));
        m_text->setRuns(runsFor(m_block.items.join(QLatin1Char('\n'))));
        layout->addWidget(bar);
        layout->addWidget(m_text, 1, Qt::AlignTop);
        m_layout->addWidget(row);
        break;
    }
    case Kind::code: {
        if (m_singleLine) {
            m_text = makeText(false);
            m_text->setPlainText(m_block.text);
            m_layout->addWidget(m_text);
            break;
        }
        auto* box = new RoundedBox;
        box->setRadius(10);
        const QColor base = baseColor();
        const auto at = [base](qreal opacity) {
            QColor color = base;
            color.setAlphaF(static_cast<float>(opacity));
            return color;
        };
        box->setFill(RoundedBox::fixed(at(0.065)));
        box->setStroke(RoundedBox::fixed(at(0.08)));
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(10, 10, 10, 10);
        column->setSpacing(6);
        m_language = ChatStyle::plainLabel(QString());
        QPalette palette = m_language->palette();
        palette.setColor(QPalette::WindowText,
                         ChatStyle::secondary(base, this->palette().color(QPalette::Window)));
        m_language->setPalette(palette);
        column->addWidget(m_language);
        m_text = makeText(false);
        m_text->setTextLayout(RichTextView::Layout::unwrapped);
        m_text->setSelectable(true);
        m_text->setPlainText(m_block.text);
        m_codeScroll = new CodeScrollArea(m_text);
        column->addWidget(m_codeScroll);
        m_layout->addWidget(box);
        break;
    }
    }
    applyFonts();
    updateContent(m_block);
}

void MarkdownBlockView::updateContent(const MarkdownBlock& previous) {
    using Kind = MarkdownBlock::Kind;
    switch (m_block.kind) {
    case Kind::paragraph:
    case Kind::heading:
        if (m_block.text != previous.text) {
            m_text->setRuns(paragraphRuns());
        }
        break;
    case Kind::unordered:
    case Kind::ordered:
        updateRows(m_block.items, m_block.kind == Kind::ordered);
        break;
    case Kind::quote:
        if (m_block.items != previous.items) {
            m_text->setRuns(runsFor(m_block.items.join(QLatin1Char('\n'))));
        }
        break;
    case Kind::code:
        if (m_block.text != previous.text) {
            m_text->setPlainText(m_block.text);
        }
        if (m_language) {
            const QString language = m_block.language.value_or(QString());
            m_language->setText(language.toUpper());
            m_language->setVisible(!language.isEmpty());
            m_codeScroll->contentChanged();
        }
        break;
    }
}

void MarkdownBlockView::applyFonts() {
    if (!m_built) {
        return;
    }
    const QFont base = font();
    if (m_block.kind == MarkdownBlock::Kind::heading && m_text) {
        m_text->setFont(blockFont());
    }
    if (m_block.kind == MarkdownBlock::Kind::code && !m_singleLine && m_text) {
        QFont code = ChatStyle::monospace(
            ChatStyle::scaled(base, ChatStyle::TextStyle::callout).pixelSize());
        m_text->setFont(code);
        QFont label = ChatStyle::scaled(base, ChatStyle::TextStyle::caption2);
        label.setWeight(QFont::DemiBold);
        m_language->setFont(label);
    }
}

void MarkdownBlockView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFonts();
    }
}

QList<RichTextView*> MarkdownBlockView::textViews() const {
    QList<RichTextView*> views;
    if (m_text) {
        views.append(m_text);
    }
    for (const Row& row : m_rows) {
        views.append(row.text);
    }
    return views;
}

QStringList MarkdownBlockView::markers() const {
    QStringList markers;
    for (const Row& row : m_rows) {
        markers.append(row.marker->text());
    }
    return markers;
}

QString MarkdownBlockView::languageLabel() const {
    return m_language && !m_language->isHidden() ? m_language->text() : QString();
}

} // namespace plimbo
