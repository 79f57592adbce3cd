#include "ClipboardHistoryView.h"

#include "ClipboardItem.h"
#include "ClipboardService.h"
#include "DashboardList.h"
#include "DashboardRowButton.h"
#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "SectionHeader.h"
#include "SurfaceText.h"
#include "symbols/SymbolIcon.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace plimbo {

namespace {

// The platform's "nothing here" placeholder: a large symbol, a title and a description,
// centred.
QWidget* makePlaceholder(QWidget* parent) {
    using S = DashboardStyle;
    auto* placeholder = new QWidget(parent);
    auto* column = new QVBoxLayout(placeholder);
    column->setSpacing(8);
    column->addStretch(1);
    auto* icon = new QLabel(placeholder);
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(SymbolIcon::pixmap(QStringLiteral("clipboard"), QSize(40, 40),
                                       S::color(placeholder, S::Emphasis::secondary),
                                       placeholder->devicePixelRatioF()));
    column->addWidget(icon);
    QLabel* title = S::label(QStringLiteral("Clipboard history is empty"),
                             S::font(17, QFont::DemiBold), S::Emphasis::primary, placeholder);
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    QLabel* description =
        S::label(QStringLiteral("Copy text in another app and it will appear here."),
                 S::font(S::Text::body), S::Emphasis::secondary, placeholder);
    description->setAlignment(Qt::AlignCenter);
    description->setWordWrap(true);
    column->addWidget(description);
    column->addStretch(1);
    placeholder->setAccessibleName(title->text());
    return placeholder;
}

} // namespace

ClipboardHistoryView::ClipboardHistoryView(ClipboardService& clipboard, QWidget* parent)
    : QWidget(parent)
    , m_clipboard(clipboard)
    , m_query(new QLineEdit(this))
    , m_clear(new QPushButton(QStringLiteral("Clear"), this))
    , m_content(new QStackedWidget(this))
    , m_placeholder(makePlaceholder(m_content))
    , m_list(new DashboardList(m_content)) {
    DashboardSymbols::load();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 30);
    layout->setSpacing(18);

    auto* header = new QHBoxLayout;
    header->addWidget(new SectionHeader(QStringLiteral("Clipboard"),
                                        QStringLiteral("Recent text stays local and "
                                                       "sensitive-looking content is skipped."),
                                        this),
                      1, Qt::AlignBottom);
    header->addWidget(m_clear, 0, Qt::AlignBottom);
    layout->addLayout(header);

    m_query->setPlaceholderText(QStringLiteral("Search clipboard history"));
    layout->addWidget(m_query);
    m_content->addWidget(m_placeholder);
    m_content->addWidget(m_list);
    layout->addWidget(m_content, 1);

    connect(m_clear, &QPushButton::clicked, this, &ClipboardHistoryView::askToClear);
    connect(m_query, &QLineEdit::textChanged, this, &ClipboardHistoryView::refresh);
    connect(&clipboard, &ClipboardService::itemsChanged, this, &ClipboardHistoryView::refresh);
    refresh();
}

bool ClipboardHistoryView::showsPlaceholder() const {
    return m_content->currentWidget() == m_placeholder;
}

void ClipboardHistoryView::refresh() {
    using S = DashboardStyle;
    // The placeholder and the button go by the whole history, not by the search.
    const bool empty = m_clipboard.items().isEmpty();
    m_clear->setEnabled(!empty);
    if (empty) {
        m_list->setRows({});
        m_content->setCurrentWidget(m_placeholder);
        return;
    }
    m_content->setCurrentWidget(m_list);

    const QFont previewFont = S::font(S::Text::body);
    const QFont dateFont = S::font(S::Text::caption);
    const QLocale locale;
    QList<QWidget*> rows;
    for (const ClipboardItem& item : m_clipboard.search(m_query->text(), resultLimit)) {
        auto* row = new DashboardRowButton;
        row->setAccessibleName(item.preview());
        QHBoxLayout* line = row->rowLayout();
        line->setContentsMargins(8, 6, 8, 6);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(4);
        // Two whole lines at most; what does not fit ends in an ellipsis.
        auto* preview = new SurfaceText(item.preview(), row);
        preview->setFont(previewFont);
        preview->setMaximumLines(2);
        preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        texts->addWidget(preview);
        texts->addWidget(
            S::label(locale.toString(item.createdAt.toLocalTime(), QLocale::ShortFormat), dateFont,
                     S::Emphasis::secondary, row));
        line->addLayout(texts, 1);

        QPointer<ClipboardService> clipboard(&m_clipboard);
        const QUuid id = item.id;
        connect(row, &QAbstractButton::clicked, this, [clipboard, id] {
            if (clipboard) {
                clipboard->copyAgain(id);
            }
        });
        rows.append(row);
    }
    m_list->setRows(rows);
}

void ClipboardHistoryView::askToClear() {
    if (m_confirmation) {
        return;
    }
    auto* box = new QMessageBox(this);
    box->setWindowModality(Qt::WindowModal);
    box->setWindowTitle(QStringLiteral("Clear clipboard history?"));
    box->setText(QStringLiteral("Clear clipboard history?"));
    box->setInformativeText(
        QStringLiteral("Pinned items are preserved. This action cannot be undone."));
    QPushButton* clear =
        box->addButton(QStringLiteral("Clear Unpinned Items"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    QPointer<ClipboardService> clipboard(&m_clipboard);
    connect(box, &QDialog::finished, this, [this, box, clear, clipboard] {
        const bool confirmed = box->clickedButton() == clear;
        m_confirmation = nullptr;
        box->deleteLater();
        if (confirmed && clipboard) {
            clipboard->clear();
        }
    });
    m_confirmation = box;
    box->open();
}

} // namespace plimbo
