#include "ClipboardQuickAccessView.h"

#include "AppModel.h"
#include "ClipboardRow.h"
#include "ClipboardService.h"
#include "EmptyStateView.h"
#include "QuickAccessSearchField.h"
#include "SelectableRowList.h"

#include <QStackedWidget>

#include <algorithm>

namespace plimbo {

namespace {

qsizetype indexOf(const QList<ClipboardItem>& items, const std::optional<QUuid>& id) {
    if (!id) {
        return -1;
    }
    const auto found = std::find_if(items.cbegin(), items.cend(),
                                    [&](const ClipboardItem& item) { return item.id == *id; });
    return found == items.cend() ? -1 : found - items.cbegin();
}

std::optional<QString> rowID(const std::optional<QUuid>& id) {
    return id ? std::optional<QString>(id->toString(QUuid::WithoutBraces)) : std::nullopt;
}

} // namespace

ClipboardQuickAccessView::ClipboardQuickAccessView(AppModel& model, std::function<void()> dismiss,
                                                   QWidget* parent)
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
    , m_model(model) {
    followShortcut(m_model, PlimboGlobalShortcut::clipboard);
    m_list = new SelectableRowList(this);
    m_emptyState = new EmptyStateView(QStringLiteral("clipboard"), QString(), QString(), this);
    content()->addWidget(m_list);
    content()->addWidget(m_emptyState);

    connect(&m_model.clipboard(), &ClipboardService::itemsChanged, this,
            &ClipboardQuickAccessView::historyChanged);
    connect(m_list, &SelectableRowList::rowClicked, this, &ClipboardQuickAccessView::copyRow);

    rebuildRows();
}

QList<ClipboardItem> ClipboardQuickAccessView::results() const {
    return m_model.clipboard().search(query(), resultLimit);
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
    m_list->setSelectedID(rowID(m_selectedID));
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

void ClipboardQuickAccessView::selectFirst() {
    const QList<ClipboardItem> current = results();
    setSelectedID(current.isEmpty() ? std::nullopt : std::optional<QUuid>(current.first().id));
}

void ClipboardQuickAccessView::setSelectedID(const std::optional<QUuid>& id) {
    m_selectedID = id;
    m_list->setSelectedID(rowID(id));
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
    if (indexOf(results(), m_selectedID) < 0) {
        selectFirst();
    }
}

void ClipboardQuickAccessView::moveSelection(int delta) {
    const QList<ClipboardItem> current = results();
    if (current.isEmpty()) {
        return;
    }
    const qsizetype base = std::max<qsizetype>(indexOf(current, m_selectedID), 0);
    const qsizetype index = std::clamp<qsizetype>(base + delta, 0, current.size() - 1);
    setSelectedID(current.at(index).id);
}

void ClipboardQuickAccessView::copySelection() {
    const QList<ClipboardItem> current = results();
    if (current.isEmpty()) {
        return;
    }
    const qsizetype index = std::max<qsizetype>(indexOf(current, m_selectedID), 0);
    m_model.clipboard().copyAgain(current.at(index).id);
    dismiss();
}

void ClipboardQuickAccessView::copyRow(const QString& id) {
    // An entry that left the history meanwhile is ignored by the service; the panel still
    // closes.
    m_model.clipboard().copyAgain(QUuid::fromString(id));
    dismiss();
}

} // namespace plimbo
