#pragma once

#include "ListSelection.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QStackedWidget;

namespace plimbo {

class CommandPalette;
class EmptyStateView;
class QuickAccessSearchField;
class SelectableRowList;
struct PaletteItem;

// The command palette's content: a search field bound to the palette's query, its ranked
// results exactly as they come, and a keyboard selection by item identifier. It holds no
// results of its own: every key press and click reads the palette's current list. Return runs
// the selected item (else the first) through `perform`, a click runs the clicked row, Escape
// calls `dismiss`.
class CommandPaletteView : public QWidget {
    Q_OBJECT

public:
    // `perform` acts on an item; that crosses features, so the caller supplies it.
    CommandPaletteView(CommandPalette& commandPalette,
                       std::function<void(const PaletteItem&)> perform,
                       std::function<void()> dismiss, QWidget* parent = nullptr);

    std::optional<QString> selectedID() const { return m_selection.selectedID(); }

    QuickAccessSearchField* searchField() const { return m_searchField; }
    SelectableRowList* resultList() const { return m_list; }
    EmptyStateView* emptyState() const { return m_emptyState; }
    bool isShowingEmptyState() const;

    static constexpr int headerHeight = 68;
    static constexpr int footerHeight = 42;
    static constexpr qreal cornerRadius = 18;

    QSize sizeHint() const override { return QSize(720, 520); }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void performSelection();
    void moveSelection(int delta);
    void performRow(const QString& id);
    void resultsChanged();
    void rebuildRows();
    void selectFirst();
    QWidget* buildHeader();
    QWidget* buildFooter();

    CommandPalette& m_palette;
    std::function<void(const PaletteItem&)> m_perform;
    std::function<void()> m_dismiss;
    ListSelection m_selection;

    QuickAccessSearchField* m_searchField = nullptr;
    QStackedWidget* m_content = nullptr;
    SelectableRowList* m_list = nullptr;
    EmptyStateView* m_emptyState = nullptr;
};

} // namespace plimbo
