#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
#include <QMessageBox>
class QPushButton;
class QStackedWidget;

namespace plimbo {

class ClipboardService;
class DashboardList;

// The dashboard's clipboard section: searches the in-memory clipboard history (at most 100
// results), puts an entry back on the clipboard when its row is clicked, and clears the
// unpinned entries after a confirmation. Follows the history live.
class ClipboardHistoryView : public QWidget {
    Q_OBJECT

public:
    explicit ClipboardHistoryView(ClipboardService& clipboard, QWidget* parent = nullptr);

    QLineEdit* searchField() const { return m_query; }
    QPushButton* clearButton() const { return m_clear; }
    DashboardList* list() const { return m_list; }
    // The "empty history" placeholder is shown instead of the list.
    bool showsPlaceholder() const;
    // The clear confirmation while it is up, else null.
    QMessageBox* confirmation() const { return m_confirmation; }
    bool confirmsClear() const { return !m_confirmation.isNull(); }

    static constexpr int resultLimit = 100;

private:
    void refresh();
    void askToClear();

    ClipboardService& m_clipboard;
    QLineEdit* m_query;
    QPushButton* m_clear;
    QStackedWidget* m_content;
    QWidget* m_placeholder;
    DashboardList* m_list;
    QPointer<QMessageBox> m_confirmation;
};

} // namespace plimbo
