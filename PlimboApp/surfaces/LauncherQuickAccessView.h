#pragma once

#include "ApplicationRecord.h"
#include "ListSelection.h"
#include "QuickAccessPanel.h"

#include <QList>

#include <functional>
#include <optional>

namespace plimbo {

class EmptyStateView;
class GlobalShortcuts;
class LauncherService;
class SelectableRowList;

// The launcher panel's content: searches the launcher's application index as the user types
// (at most 12 matches), keeps a keyboard selection by record identifier and hands the chosen
// record to `openApplication`, which closes the panel and launches it. It keeps its own query
// and never a copy of the results: every key press and click searches the index again. The
// selection goes back to the first result on each showing, on every change of the query and
// of the index.
class LauncherQuickAccessView : public QuickAccessPanel {
    Q_OBJECT

public:
    static constexpr int resultLimit = 12;
    static constexpr int panelHeight = 520;

    enum class Content { indexing, results, empty };

    LauncherQuickAccessView(LauncherService& launcher, const GlobalShortcuts& shortcuts,
                            std::function<void()> dismiss,
                            std::function<void(const ApplicationRecord&)> openApplication,
                            QWidget* parent = nullptr);

    std::optional<QString> selectedID() const { return m_selection.selectedID(); }
    Content shownContent() const;
    SelectableRowList* resultList() const { return m_list; }
    EmptyStateView* emptyState() const { return m_emptyState; }

protected:
    void appearanceStep() override;
    void queryStep() override;
    void primaryAction() override { openSelection(); }
    void moveSelection(int delta) override;

private:
    QList<ApplicationRecord> results() const;
    void openSelection();
    void openRow(const QString& id);
    void applicationsChanged();
    void rebuildRows();
    void showContent();
    void selectFirst();

    LauncherService& m_launcher;
    std::function<void(const ApplicationRecord&)> m_openApplication;
    ListSelection m_selection;

    QWidget* m_indexing = nullptr;
    SelectableRowList* m_list = nullptr;
    EmptyStateView* m_emptyState = nullptr;
};

} // namespace plimbo
