#pragma once

#include "ChatFeatures.h"
#include "RoundedBox.h"

#include <QMargins>
#include <QObject>

class QLabel;

namespace plimbo {

class AttachmentDropZone;
class ComposerTextEdit;
class HorizontalStrip;
class SymbolButton;

// Keeps a chat composer in step with the draft, for the workbench and the mini assistant alike:
// the text field and the draft follow each other, dropped or chosen files become pending
// attachments shown as removable cards, the status line shows the session's status, and the
// outline shows a drag over the composer (accent) or the field's focus. The views build the
// parts in their own look and keep their own send and stop buttons; changed() tells them when
// those need a refresh.
class ComposerBinding : public QObject {
    Q_OBJECT

public:
    // The composer's parts, built by the view.
    struct Parts {
        AttachmentDropZone* dropZone = nullptr;
        RoundedBox* box = nullptr;
        QWidget* stripRow = nullptr;
        HorizontalStrip* strip = nullptr;
        QWidget* editorRow = nullptr;
        ComposerTextEdit* editor = nullptr;
        SymbolButton* attach = nullptr;
        QLabel* status = nullptr;
    };

    // Where the composers' looks differ.
    struct Look {
        bool compactCards = false;
        // Of the text field's row; under attachment cards its top shrinks to `topUnderCards`.
        QMargins editorMargins;
        int topUnderCards = 0;
        RoundedBox::Color focusedStroke;
        qreal focusedStrokeWidth = 1;
        RoundedBox::Color idleStroke;
    };

    // `view` holds the parts; the binding lives as long as it.
    ComposerBinding(const ChatFeatures& features, const Parts& parts, Look look, QWidget* view);

    const Parts& parts() const { return m_parts; }

    // History loaded, key stored, no reply running, no attachment being added, and text that
    // is not blank or at least one pending attachment.
    bool canSend() const;
    // Why Send is off whatever the draft holds (empty when it is not).
    QString sendUnavailableReason() const;
    // Sends when canSend(), then focuses the text field; otherwise does nothing.
    void send();
    bool isFocused() const;
    void focus();

signals:
    // Something the send and stop buttons depend on may have changed.
    void changed();
    // The attach button's file dialog opened, and closed again (whatever was chosen).
    void fileDialogOpened();
    void fileDialogClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void refreshAttachments();
    void refreshBorder();

    ChatFeatures m_features;
    Parts m_parts;
    Look m_look;
    QWidget* m_view;
};

} // namespace plimbo
