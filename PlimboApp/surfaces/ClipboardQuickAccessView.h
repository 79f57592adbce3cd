#pragma once

#include "ClipboardItem.h"
#include "ListSelection.h"
#include "QuickAccessPanel.h"

#include <QList>
#include <QUuid>

#include <functional>
#include <optional>

namespace plimbo {

class ClipboardService;
class EmptyStateView;
class GlobalShortcuts;
class SelectableRowList;

// The clipboard panel's content: searches the clipboard history as the user types (at most 14
// entries, newest first), keeps a keyboard selection by item identifier, and puts the chosen
// entry back on the clipboard before calling `dismiss`. It never keeps a copy of the results:
// every key press and click asks the service again. The selection goes to the first result on
// each showing and on every change of the query; a change of the history keeps it while the
// selected entry is still listed. Escape only dismisses; it never copies.
class ClipboardQuickAccessView : public QuickAccessPanel {
    Q_OBJECT

public:
    static constexpr int resultLimit = 14;
    static constexpr int panelHeight = 500;

    ClipboardQuickAccessView(ClipboardService& clipboard, const GlobalShortcuts& shortcuts,
                             std::function<void()> dismiss, QWidget* parent = nullptr);

    std::optional<QUuid> selectedID() const;
    bool isShowingEmptyState() const;
    SelectableRowList* resultList() const { return m_list; }
    EmptyStateView* emptyState() const { return m_emptyState; }

protected:
    void appearanceStep() override;
    void queryStep() override;
    void primaryAction() override { copySelection(); }
    void moveSelection(int delta) override;

private:
    QList<ClipboardItem> results() const;
    void copySelection();
    void copyRow(const QString& id);
    void historyChanged();
    void rebuildRows();
    void selectFirst();

    ClipboardService& m_clipboard;
    ListSelection m_selection;

    SelectableRowList* m_list = nullptr;
    EmptyStateView* m_emptyState = nullptr;
};

} // namespace plimbo
