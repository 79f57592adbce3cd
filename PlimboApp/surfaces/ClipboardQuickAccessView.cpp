#include "ClipboardQuickAccessView.h"

#include "ClipboardRow.h"
#include "ClipboardService.h"
#include "EmptyStateView.h"
#include "QuickAccessSearchField.h"
#include "SelectableRowList.h"

#include <QStackedWidget>

namespace plimbo {

namespace {

// The rows name their entries by the identifier without braces.
QStringList rowIDs(const QList<ClipboardItem>& items) {
    return ListSelection::rowIDs(
        items, [](const ClipboardItem& item) { return item.id.toString(QUuid::WithoutBraces); });
}

} // namespace

ClipboardQuickAccessView::ClipboardQuickAccessView(ClipboardService& clipboard,
                                                   const GlobalShortcuts& shortcuts,
                                                   std::function<void()> dismiss, QWidget* parent)
    : QuickAccessPanel(
          Configuration{
              QStringLiteral("clipboard"),
              tr("Search clipboard"),
              tr("Search clipboard history"),
              tr("Plimbo Clipboard"),
              panelHeight,
              tr("Copy"),
          },
          std::move(dismiss), parent)
    , m_clipboard(clipboard)
    , m_selection([this](const std::optional<QString>& id) { m_list->setSelectedID(id); }) {
    followShortcut(shortcuts, PlimboGlobalShortcut::clipboard);
    m_list = new SelectableRowList(this);
    m_emptyState = new EmptyStateView(QStringLiteral("clipboard"), QString(), QString(), this);
    content()->addWidget(m_list);
    content()->addWidget(m_emptyState);

    connect(&m_clipboard, &ClipboardService::itemsChanged, this,
            &ClipboardQuickAccessView::historyChanged);
    connect(m_list, &SelectableRowList::rowClicked, this, &ClipboardQuickAccessView::copyRow);

    rebuildRows();
}

QList<ClipboardItem> ClipboardQuickAccessView::results() const {
    return m_clipboard.search(query(), resultLimit);
}

bool ClipboardQuickAccessView::isShowingEmptyState() const {
    return content()->currentWidget() == m_emptyState;
}

void ClipboardQuickAccessView::rebuildRows() {
    const QList<ClipboardItem> current = results();
    QList<SelectableRow*> rows;
    for (const ClipboardItem& item : current) {
        rows.append(new ClipboardRow(item));
    }
    m_list->setRows(rows);
    m_list->setSelectedID(m_selection.selectedID());
    // The raw text decides: a query of spaces is not an empty query.
    if (query().isEmpty()) {
        m_emptyState->setTexts(tr("Clipboard history is empty"),
                               tr("Copy text in any app and it will appear here."));
    } else {
        m_emptyState->setTexts(tr("Nothing found"), tr("Try another search."));
    }
    content()->setCurrentWidget(current.isEmpty() ? static_cast<QWidget*>(m_emptyState)
                                                  : static_cast<QWidget*>(m_list));
}

std::optional<QUuid> ClipboardQuickAccessView::selectedID() const {
    const std::optional<QString> id = m_selection.selectedID();
    return id ? std::optional<QUuid>(QUuid::fromString(*id)) : std::nullopt;
}

void ClipboardQuickAccessView::selectFirst() {
    m_selection.selectFirst(rowIDs(results()));
}

void ClipboardQuickAccessView::appearanceStep() {
    setQuery(QString());
    selectFirst();
    searchField()->setFocus(Qt::OtherFocusReason);
}

void ClipboardQuickAccessView::queryStep() {
    rebuildRows();
    selectFirst();
}

void ClipboardQuickAccessView::historyChanged() {
    rebuildRows();
    m_selection.keepOrSelectFirst(rowIDs(results()));
}

void ClipboardQuickAccessView::moveSelection(int delta) {
    m_selection.move(rowIDs(results()), delta);
}

void ClipboardQuickAccessView::copySelection() {
    const QList<ClipboardItem> current = results();
    const qsizetype index = m_selection.chosenIndex(rowIDs(current));
    if (index < 0) {
        return;
    }
    m_clipboard.copyAgain(current.at(index).id);
    dismiss();
}

void ClipboardQuickAccessView::copyRow(const QString& id) {
    // An entry that left the history meanwhile is ignored by the service; the panel still
    // closes.
    m_clipboard.copyAgain(QUuid::fromString(id));
    dismiss();
}

} // namespace plimbo
