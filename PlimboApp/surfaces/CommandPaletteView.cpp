#include "CommandPaletteView.h"

#include "CommandPalette.h"
#include "EmptyStateView.h"
#include "HairlineDivider.h"
#include "Keycap.h"
#include "PaletteRow.h"
#include "PlimboTheme.h"
#include "QuickAccessSearchField.h"
#include "SelectableRowList.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace plimbo {

namespace {

QStringList itemIDs(const QList<PaletteItem>& items) {
    return ListSelection::rowIDs(items, [](const PaletteItem& item) { return item.id; });
}

} // namespace

CommandPaletteView::CommandPaletteView(CommandPalette& commandPalette,
                                       std::function<void(const PaletteItem&)> perform,
                                       std::function<void()> dismiss, QWidget* parent)
    : QWidget(parent)
    , m_palette(commandPalette)
    , m_perform(std::move(perform))
    , m_dismiss(std::move(dismiss))
    , m_selection([this](const std::optional<QString>& id) { m_list->setSelectedID(id); }) {
    SurfaceStyle::registerSymbols();
    QPalette tinted = palette();
    tinted.setColor(QPalette::Highlight, PlimboTheme::accent());
    setPalette(tinted);
    setAttribute(Qt::WA_TranslucentBackground);

    m_list = new SelectableRowList(this);
    m_emptyState = new EmptyStateView(QStringLiteral("magnifyingglass"), tr("Nothing found"),
                                      tr("Try an app name or a Plimbo command."), this);
    m_content = new QStackedWidget(this);
    m_content->addWidget(m_list);
    m_content->addWidget(m_emptyState);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addWidget(new HairlineDivider(Qt::Horizontal, 0, this));
    column->addWidget(m_content, 1);
    column->addWidget(new HairlineDivider(Qt::Horizontal, 0, this));
    column->addWidget(buildFooter());

    connect(m_searchField, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_palette.setQuery(text); });
    connect(&m_palette, &CommandPalette::queryChanged, this, [this] {
        const QString query = m_palette.query();
        if (m_searchField->text() != query) {
            m_searchField->setText(query);
        }
    });
    connect(m_searchField, &QuickAccessSearchField::submitted, this,
            &CommandPaletteView::performSelection);
    connect(m_searchField, &QuickAccessSearchField::selectionStepRequested, this,
            &CommandPaletteView::moveSelection);
    connect(m_list, &SelectableRowList::rowClicked, this, &CommandPaletteView::performRow);
    connect(&m_palette, &CommandPalette::resultsChanged, this, &CommandPaletteView::resultsChanged);

    m_searchField->setText(m_palette.query());
    rebuildRows();
}

QWidget* CommandPaletteView::buildHeader() {
    auto* header = new QWidget(this);
    header->setFixedHeight(headerHeight);
    auto* symbol = new SymbolView(QStringLiteral("sparkle.magnifyingglass"), 18, header);
    symbol->setTone(SurfaceStyle::Tone::accent);
    m_searchField = new QuickAccessSearchField(tr("Search apps, clipboard, and actions"), header);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(20, 0, 20, 0);
    row->setSpacing(12);
    row->addWidget(symbol, 0, Qt::AlignVCenter);
    row->addWidget(m_searchField, 1, Qt::AlignVCenter);
    row->addWidget(new Keycap(QStringLiteral("esc"), header), 0, Qt::AlignVCenter);
    return header;
}

QWidget* CommandPaletteView::buildFooter() {
    auto* footer = new QWidget(this);
    footer->setFixedHeight(footerHeight);
    const QFont caption = SurfaceStyle::font(SurfaceStyle::TextStyle::caption);
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(18, 0, 18, 0);
    row->setSpacing(8);
    const auto addHint = [&](const QString& text, QFont::Weight weight) {
        auto* hint = new SurfaceText(text, footer);
        QFont font = caption;
        font.setWeight(weight);
        hint->setFont(font);
        hint->setTone(SurfaceStyle::Tone::secondary);
        hint->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        row->addWidget(hint, 0, Qt::AlignVCenter);
    };
    addHint(tr("↑↓ Navigate"), QFont::Normal);
    addHint(tr("↩ Open"), QFont::Normal);
    row->addStretch(1);
    addHint(tr("Plimbo"), QFont::DemiBold);
    return footer;
}

bool CommandPaletteView::isShowingEmptyState() const {
    return m_content->currentWidget() == m_emptyState;
}

void CommandPaletteView::rebuildRows() {
    const QList<PaletteItem> results = m_palette.results();
    QList<SelectableRow*> rows;
    rows.reserve(results.size());
    for (const PaletteItem& item : results) {
        rows.append(new PaletteRow(item));
    }
    m_list->setRows(rows);
    m_content->setCurrentWidget(results.isEmpty() ? static_cast<QWidget*>(m_emptyState)
                                                  : static_cast<QWidget*>(m_list));
    m_list->setSelectedID(m_selection.selectedID());
}

void CommandPaletteView::resultsChanged() {
    rebuildRows();
    // A new list always starts at its first row, even when the old selection is still there.
    selectFirst();
}

void CommandPaletteView::selectFirst() {
    m_selection.selectFirst(itemIDs(m_palette.results()));
}

void CommandPaletteView::moveSelection(int delta) {
    m_selection.move(itemIDs(m_palette.results()), delta);
}

void CommandPaletteView::performSelection() {
    const QList<PaletteItem> results = m_palette.results();
    const qsizetype index = m_selection.chosenIndex(itemIDs(results));
    if (index < 0) {
        return;
    }
    // The model hides the palette itself before it acts.
    const PaletteItem chosen = results.at(index);
    m_perform(chosen);
}

void CommandPaletteView::performRow(const QString& id) {
    const QList<PaletteItem> results = m_palette.results();
    const qsizetype index = itemIDs(results).indexOf(id);
    if (index >= 0) {
        const PaletteItem chosen = results.at(index);
        m_perform(chosen);
    }
}

void CommandPaletteView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    m_searchField->setFocus(Qt::OtherFocusReason);
    selectFirst();
}

void CommandPaletteView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        if (m_dismiss) {
            m_dismiss();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void CommandPaletteView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SurfaceStyle::paintPanel(painter, QRectF(rect()), cornerRadius, palette());
}

} // namespace plimbo
