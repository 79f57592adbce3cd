#pragma once

#include "AIChatSession.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QLocale>
#include <QWidget>

#include <functional>

class QLabel;
class QMenu;

namespace plimbo {

class MarkdownText;
class RichTextView;
class SymbolButton;

// One chat in the workbench's history list: its title, a one-line preview of the last turn and
// the time of its last change, with an options menu (and the same actions on a secondary
// click). Highlighted while it is the model's selected chat; tinted while the pointer is over it.
class ChatHistoryRow : public QWidget {
    Q_OBJECT

public:
    ChatHistoryRow(const AIChatSession& chat, bool isSelected, const QDateTime& now,
                   std::function<void()> onSelect, std::function<void()> onRename,
                   std::function<void()> onDelete, QWidget* parent = nullptr);

    // Shows another state of the row's chat; only what changed is redrawn.
    void setChat(const AIChatSession& chat, bool isSelected, const QDateTime& now);
    const AIChatSession& chat() const { return m_chat; }
    bool isSelected() const { return m_selected; }
    bool isHovered() const { return m_hovered; }

    // "Empty chat" without turns; else the last reply (its prompt when the reply is empty) with
    // every run of white space made one space and none at either end; when it opens with a
    // code fence, the first line of the code. At most `limit` characters when a limit is given.
    static QString preview(const AIChatSession& chat, qsizetype limit = -1);
    // The time of day for `updatedAt` today, "Yesterday", else the short date with the month's
    // abbreviated name; days are the local calendar's.
    static QString timestamp(const QDateTime& updatedAt, const QDateTime& now,
                             const QLocale& locale = QLocale());

    // The parts, for tests.
    QAbstractButton* selectButton() const { return m_select; }
    SymbolButton* optionsButton() const { return m_options; }
    QMenu* optionsMenu() const { return m_menu; }
    // A fresh menu of the secondary-click actions ("Rename", "Delete").
    QMenu* makeContextMenu();
    RichTextView* titleLabel() const { return m_title; }
    MarkdownText* previewText() const { return m_preview; }
    QLabel* timeLabel() const { return m_time; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void apply(const AIChatSession* previous, bool wasSelected, const QDateTime& now);

    AIChatSession m_chat;
    bool m_selected;
    bool m_hovered = false;
    std::function<void()> m_onSelect;
    std::function<void()> m_onRename;
    std::function<void()> m_onDelete;
    QString m_shownPreview;

    QAbstractButton* m_select;
    RichTextView* m_title;
    MarkdownText* m_preview;
    QLabel* m_time;
    SymbolButton* m_options;
    QMenu* m_menu;
};

} // namespace plimbo
