#pragma once

#include "AIChatAttachment.h"
#include "AIChatTurn.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QScrollArea;
class QStackedLayout;
class QVBoxLayout;
class QVariantAnimation;

namespace plimbo {

class ActivitySpinner;
class AppModel;
class AttachmentDropZone;
class BrandBadge;
class ComposerTextEdit;
class HorizontalStrip;
class MiniAITurnView;
class ChatErrorAlert;
class RoundedBox;
class SymbolButton;

// The floating mini assistant: a dark rounded bubble holding either the composer alone (no
// turns yet, with the brand mark and "Open all chats" in its bottom row) or a header, the
// conversation and the composer. It reads and calls the model; the three closures are the
// panel's (grow before the first turn, open the workbench, close). Escape closes; the model's
// error message shows as an alert titled "Plimbo AI" while the view is on screen.
class MiniAIView : public QWidget {
    Q_OBJECT

public:
    MiniAIView(AppModel& model, std::function<void()> onBeginConversation,
               std::function<void()> onOpenAllChats, std::function<void()> onClose,
               QWidget* parent = nullptr);
    ~MiniAIView() override;

    bool canSend() const;
    // Does nothing unless canSend(); grows the panel before a first turn, sends, refocuses.
    void send();

    static QString attachmentSummary(const QList<AIChatAttachment>& attachments);
    static QString userAccessibilityValue(const AIChatTurn& turn);
    QString emptyResponseText(const AIChatTurn& turn) const;
    QString accessibilityResponse(const AIChatTurn& turn) const;

    bool showsConversation() const { return m_showsConversation; }
    void flushPendingUpdates();

    // The parts, for tests.
    ComposerTextEdit* editor() const { return m_editor; }
    SymbolButton* sendButton() const { return m_send; }
    SymbolButton* attachButton() const { return m_attach; }
    SymbolButton* composerOpenAllButton() const { return m_composerOpenAll; }
    SymbolButton* headerOpenAllButton() const { return m_headerOpenAll; }
    SymbolButton* closeButton() const { return m_close; }
    BrandBadge* composerMark() const { return m_composerMark; }
    QWidget* header() const { return m_header; }
    QLabel* statusLabel() const { return m_status; }
    ActivitySpinner* spinner() const { return m_spinner; }
    HorizontalStrip* attachmentStrip() const { return m_strip; }
    QList<MiniAITurnView*> turnViews() const { return m_turnViews; }
    AttachmentDropZone* dropZone() const { return m_dropZone; }
    RoundedBox* composerBox() const { return m_composerBox; }
    ChatErrorAlert* errorAlert() const { return m_alert; }
    bool isComposerFocused() const;
    std::optional<QUuid> lastScrollTarget() const { return m_lastScrollTarget; }
    bool lastScrollAnimated() const { return m_lastScrollAnimated; }
    bool isTransitionRunning() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildComposer();
    QWidget* buildConversation();
    void conversationChanged();
    void refreshLayout(bool animated);
    void refreshTurns();
    void refreshComposer();
    void refreshAttachments();
    void refreshBorder();
    void focusComposer();
    void scrollToLatest();
    // Scrolls once the list is on screen and laid out.
    void performPendingScroll();

    AppModel& m_model;
    std::function<void()> m_onBeginConversation;
    std::function<void()> m_onOpenAllChats;
    std::function<void()> m_onClose;

    QVBoxLayout* m_root = nullptr;
    QWidget* m_composerOnlyPage = nullptr;
    QVBoxLayout* m_composerOnlySlot = nullptr;
    QWidget* m_conversationPage = nullptr;
    QVBoxLayout* m_conversationSlot = nullptr;
    QWidget* m_header = nullptr;
    ActivitySpinner* m_spinner = nullptr;
    SymbolButton* m_headerOpenAll = nullptr;
    SymbolButton* m_close = nullptr;
    QScrollArea* m_turnList = nullptr;
    QVBoxLayout* m_turnColumn = nullptr;
    QList<MiniAITurnView*> m_turnViews;

    AttachmentDropZone* m_dropZone = nullptr;
    RoundedBox* m_composerBox = nullptr;
    QWidget* m_stripRow = nullptr;
    HorizontalStrip* m_strip = nullptr;
    QWidget* m_editorRow = nullptr;
    ComposerTextEdit* m_editor = nullptr;
    SymbolButton* m_attach = nullptr;
    BrandBadge* m_composerMark = nullptr;
    QLabel* m_status = nullptr;
    SymbolButton* m_composerOpenAll = nullptr;
    SymbolButton* m_send = nullptr;
    ChatErrorAlert* m_alert = nullptr;

    bool m_showsConversation = false;
    bool m_layoutInitialised = false;
    QTimer m_coalesce;
    QList<QUuid> m_shownTurnIds;
    std::optional<QUuid> m_lastScrollTarget;
    bool m_lastScrollAnimated = false;
    bool m_scrollPending = false;
    QPointer<QVariantAnimation> m_transition;
};

} // namespace plimbo
