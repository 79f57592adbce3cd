#pragma once

#include "AIChatAttachment.h"
#include "AIChatTurn.h"
#include "ComposerBinding.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QVBoxLayout;
class QVariantAnimation;

namespace plimbo {

class ActivitySpinner;
class BrandBadge;
class MiniAITurnView;
class SymbolButton;
class TurnScrollArea;

// The floating mini assistant: a dark rounded bubble holding either the composer alone (no
// turns yet, with the brand mark and "Open all chats" in its bottom row) or a header, the
// conversation and the composer. It reads and calls the chat features; the three closures are
// the panel's (grow before the first turn, open the workbench, close). Escape closes. The shell
// puts the model's error alert on it.
class MiniAIView : public QWidget {
    Q_OBJECT

public:
    MiniAIView(const ChatFeatures& features, std::function<void()> onBeginConversation,
               std::function<void()> onOpenAllChats, std::function<void()> onClose,
               QWidget* parent = nullptr);
    ~MiniAIView() override;

    bool canSend() const { return m_composer->canSend(); }
    // Does nothing unless canSend(); grows the panel before a first turn, sends, refocuses.
    void send();

    static QString attachmentSummary(const QList<AIChatAttachment>& attachments);
    static QString userAccessibilityValue(const AIChatTurn& turn);
    QString emptyResponseText(const AIChatTurn& turn) const;
    QString accessibilityResponse(const AIChatTurn& turn) const;

    bool showsConversation() const { return m_showsConversation; }
    void flushPendingUpdates();

    // The parts, for tests.
    const ComposerBinding::Parts& composer() const { return m_composer->parts(); }
    SymbolButton* sendButton() const { return m_send; }
    SymbolButton* composerOpenAllButton() const { return m_composerOpenAll; }
    SymbolButton* headerOpenAllButton() const { return m_headerOpenAll; }
    SymbolButton* closeButton() const { return m_close; }
    BrandBadge* composerMark() const { return m_composerMark; }
    QWidget* header() const { return m_header; }
    ActivitySpinner* spinner() const { return m_spinner; }
    TurnScrollArea* turnList() const { return m_turnList; }
    // The turn views that exist (those in or near view), oldest first.
    QList<MiniAITurnView*> turnViews() const;
    bool isComposerFocused() const { return m_composer->isFocused(); }
    bool isTransitionRunning() const;

signals:
    // The composer's file dialog opened, and closed again.
    void fileDialogOpened();
    void fileDialogClosed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildComposer();
    QWidget* buildConversation();
    void conversationChanged();
    void refreshLayout(bool animated);
    void refreshTurns();
    void showTurn(MiniAITurnView* view, const QList<AIChatTurn>& turns, qsizetype index) const;
    // The send button (which stops a running reply) and the spinner.
    void refreshComposer();
    void scrollToLatest();

    ChatFeatures m_features;
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
    TurnScrollArea* m_turnList = nullptr;

    ComposerBinding* m_composer = nullptr;
    BrandBadge* m_composerMark = nullptr;
    SymbolButton* m_composerOpenAll = nullptr;
    SymbolButton* m_send = nullptr;

    bool m_showsConversation = false;
    bool m_layoutInitialised = false;
    QTimer m_coalesce;
    QPointer<QVariantAnimation> m_transition;
};

} // namespace plimbo
