#include "ChatHistoryRow.h"

#include "ChatStyle.h"
#include "MarkdownBlockParser.h"
#include "MarkdownText.h"
#include "PlimboTheme.h"
#include "RichTextView.h"
#include "SymbolButton.h"
#include "symbols/SymbolIcon.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace plimbo {

namespace {

// The part of a preview a one-line row can ever show.
constexpr qsizetype kShownPreviewLength = 400;

// A button that is only its children and the row's background: the row's select area.
class RowButton : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent*) override {}
};

// The desktop's long date pattern with the weekday left out and the month abbreviated.
QString abbreviatedDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("d{4}[^dMy]*"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    format.remove(weekday);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return format.trimmed();
}

// The desktop's short time pattern; seconds are left out where a locale has them.
QString shortTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[.:]?s{1,2}(\\.z+)?"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    format.remove(seconds);
    return format;
}

// `text` with every run of white space made one space and none at either end; at most `limit`
// characters when a limit is given.
QString collapsed(QStringView text, qsizetype limit) {
    QString result;
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (limit >= 0 && result.size() >= limit) {
            break;
        }
        if (c.isSpace()) {
            pendingSpace = !result.isEmpty();
            continue;
        }
        if (pendingSpace) {
            result += QLatin1Char(' ');
            pendingSpace = false;
        }
        result += c;
    }
    if (limit >= 0 && result.size() > limit) {
        result.truncate(limit);
    }
    return result;
}

bool isFence(QStringView line) {
    return MarkdownBlockParser::trimmed(line).startsWith(u"```");
}

// The last reply, or its prompt when the reply is empty.
const QString& lastText(const AIChatSession& chat) {
    const AIChatTurn& last = chat.turns.last();
    return last.response.isEmpty() ? last.prompt : last.response;
}

struct Preview {
    QString text;
    // The text is a line of code, to be shown as it is.
    bool code = false;
};

// Collapsed onto one line, a reply that opens with a code fence would show only the fence and
// its language; the first line of its code stands for it instead. Empty code blocks are passed.
Preview previewOf(const QString& text, qsizetype limit) {
    qsizetype position = 0;
    bool inCode = false;
    while (position <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), position);
        if (end < 0) {
            end = text.size();
        }
        const QStringView line = QStringView(text).mid(position, end - position);
        if (inCode) {
            if (isFence(line)) {
                inCode = false;
            } else if (!MarkdownBlockParser::trimmed(line).isEmpty()) {
                return {collapsed(line, limit), true};
            }
        } else if (isFence(line)) {
            inCode = true;
        } else if (!MarkdownBlockParser::trimmed(line).isEmpty() || end == text.size()) {
            // The first text outside code: from here on, as it is.
            return {collapsed(QStringView(text).mid(position), limit), false};
        }
        position = end + 1;
    }
    return {};
}

} // namespace

ChatHistoryRow::ChatHistoryRow(const AIChatSession& chat, bool isSelected, const QDateTime& now,
                               std::function<void()> onSelect, std::function<void()> onRename,
                               std::function<void()> onDelete, QWidget* parent)
    : QWidget(parent)
    , m_chat(chat)
    , m_selected(isSelected)
    , m_onSelect(std::move(onSelect))
    , m_onRename(std::move(onRename))
    , m_onDelete(std::move(onDelete)) {
    setAttribute(Qt::WA_Hover);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(11, 9, 6, 9);
    row->setSpacing(6);

    m_select = new RowButton;
    m_select->setCursor(Qt::ArrowCursor);
    m_select->setFocusPolicy(Qt::TabFocus);
    m_select->setWhatsThis(tr("Open chat"));
    connect(m_select, &QAbstractButton::clicked, this, [this] {
        if (m_onSelect) {
            m_onSelect();
        }
    });
    auto* texts = new QVBoxLayout(m_select);
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(4);
    m_title = new RichTextView;
    m_title->setTextLayout(RichTextView::Layout::singleLine);
    m_title->setSelectable(false);
    m_title->setHugsContent(false);
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    texts->addWidget(m_title);
    auto* line = new QHBoxLayout;
    line->setSpacing(6);
    const QFont caption = ChatStyle::font(ChatStyle::TextStyle::caption2);
    m_preview = new MarkdownText;
    m_preview->setSingleLine(true);
    m_preview->setSelectable(false);
    m_preview->setFont(caption);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->addWidget(m_preview, 1);
    QLabel* dot = ChatStyle::plainLabel(QStringLiteral("·"));
    dot->setFont(caption);
    line->addWidget(dot);
    m_time = ChatStyle::plainLabel(QString());
    m_time->setFont(caption);
    m_time->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    line->addWidget(m_time);
    for (QWidget* secondary : {static_cast<QWidget*>(m_preview), static_cast<QWidget*>(dot),
                               static_cast<QWidget*>(m_time)}) {
        QPalette palette = secondary->palette();
        palette.setColor(QPalette::WindowText, ChatStyle::secondary(this));
        secondary->setPalette(palette);
    }
    texts->addLayout(line);
    row->addWidget(m_select, 1);

    m_options = new SymbolButton(QStringLiteral("ellipsis"), 26, 12);
    m_options->setLabel(tr("Chat options"));
    m_options->setSymbolColor([this](const QWidget* widget) {
        return ChatStyle::primary(widget, m_hovered || m_selected ? 1.0 : 0.45);
    });
    m_menu = new QMenu(this);
    m_menu->addAction(SymbolIcon::icon(QStringLiteral("pencil"), ChatStyle::primary(this)),
                      tr("Rename"), this, [this] {
                          if (m_onRename) {
                              m_onRename();
                          }
                      });
    m_menu->addSeparator();
    m_menu->addAction(SymbolIcon::icon(QStringLiteral("trash"), QColor(Qt::red)), tr("Delete"),
                      this, [this] {
                          if (m_onDelete) {
                              m_onDelete();
                          }
                      });
    connect(m_options, &SymbolButton::clicked, this,
            [this] { m_menu->popup(m_options->mapToGlobal(QPoint(0, m_options->height()))); });
    row->addWidget(m_options, 0, Qt::AlignVCenter);

    apply(nullptr, isSelected, now);
}

void ChatHistoryRow::setChat(const AIChatSession& chat, bool isSelected, const QDateTime& now) {
    const AIChatSession previous = std::exchange(m_chat, chat);
    const bool wasSelected = std::exchange(m_selected, isSelected);
    apply(&previous, wasSelected, now);
}

void ChatHistoryRow::apply(const AIChatSession* previous, bool wasSelected, const QDateTime& now) {
    if (!previous || previous->title != m_chat.title) {
        m_title->setPlainText(m_chat.title);
    }
    if (!previous || wasSelected != m_selected) {
        m_title->setFont(ChatStyle::font(12.5, m_selected ? QFont::DemiBold : QFont::Medium));
        update();
        m_options->update();
    }
    if (!previous || previous->turns != m_chat.turns) {
        const Preview shown = m_chat.turns.isEmpty()
                                  ? Preview{preview(m_chat), false}
                                  : previewOf(lastText(m_chat), kShownPreviewLength);
        // A line of code is shown as typed, never read as Markdown.
        const QString source = shown.code ? QStringLiteral("```\n") + shown.text : shown.text;
        if (source != m_preview->source()) {
            m_preview->setSource(source);
        }
        m_shownPreview = shown.text;
    }
    m_time->setText(timestamp(m_chat.updatedAt, now));
    m_select->setAccessibleName(m_chat.title);
    m_select->setAccessibleDescription(m_selected ? tr("Selected") : m_shownPreview);
}

QString ChatHistoryRow::preview(const AIChatSession& chat, qsizetype limit) {
    if (chat.turns.isEmpty()) {
        return tr("Empty chat");
    }
    return previewOf(lastText(chat), limit).text;
}

QString ChatHistoryRow::timestamp(const QDateTime& updatedAt, const QDateTime& now,
                                  const QLocale& locale) {
    const QDateTime local = updatedAt.toLocalTime();
    const QDate today = now.toLocalTime().date();
    if (local.date() == today) {
        return locale.toString(local.time(), shortTimeFormat(locale));
    }
    if (local.date() == today.addDays(-1)) {
        return tr("Yesterday");
    }
    return locale.toString(local.date(), abbreviatedDateFormat(locale));
}

QMenu* ChatHistoryRow::makeContextMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(SymbolIcon::icon(QStringLiteral("pencil"), ChatStyle::primary(this)),
                    tr("Rename"), this, [this] {
                        if (m_onRename) {
                            m_onRename();
                        }
                    });
    menu->addAction(SymbolIcon::icon(QStringLiteral("trash"), QColor(Qt::red)), tr("Delete"), this,
                    [this] {
                        if (m_onDelete) {
                            m_onDelete();
                        }
                    });
    return menu;
}

void ChatHistoryRow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = makeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void ChatHistoryRow::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_hovered = true;
    update();
    m_options->update();
}

void ChatHistoryRow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hovered = false;
    update();
    m_options->update();
}

void ChatHistoryRow::paintEvent(QPaintEvent*) {
    if (!m_selected && !m_hovered) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(area, 10, 10);
    if (m_selected) {
        painter.fillPath(shape, ChatStyle::withOpacity(PlimboTheme::accent(), 0.17));
        painter.strokePath(shape, QPen(ChatStyle::withOpacity(PlimboTheme::accent(), 0.28), 1));
    } else {
        painter.fillPath(shape, ChatStyle::primary(this, 0.055));
    }
}

} // namespace plimbo
