#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QStackedWidget;

namespace plimbo {

class AppModel;
class EmptyStateView;
class QuickAccessSearchField;
class SelectableRowList;

// The command palette's content: a search field bound to the model's palette query, the
// model's ranked results exactly as they come, and a keyboard selection by item identifier.
// It holds no results of its own: every key press and click reads the model's current list.
// Return runs the selected item (else the first) through the model, a click runs the clicked
// row, Escape calls `dismiss`.
class CommandPaletteView : public QWidget {
    Q_OBJECT

public:
    CommandPaletteView(AppModel& model, std::function<void()> dismiss, QWidget* parent = nullptr);

    std::optional<QString> selectedID() const { return m_selectedID; }

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
    void setSelectedID(const std::optional<QString>& id);
    QWidget* buildHeader();
    QWidget* buildFooter();

    AppModel& m_model;
    std::function<void()> m_dismiss;
    std::optional<QString> m_selectedID;

    QuickAccessSearchField* m_searchField = nullptr;
    QStackedWidget* m_content = nullptr;
    SelectableRowList* m_list = nullptr;
    EmptyStateView* m_emptyState = nullptr;
};

} // namespace plimbo
