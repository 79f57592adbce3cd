#pragma once

#include "AIChatAttachment.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

namespace plimbo {

class SymbolButton;

// A pending attachment in a composer: its picture (or a symbol for its kind) over a strip with
// its name, and a round remove button in the top trailing corner. Regular (156 by 96) in the
// workbench, compact (124 by 74) in the mini assistant. Loads nothing: the image is the caller's.
class ComposerAIAttachmentCard : public QWidget {
    Q_OBJECT

public:
    ComposerAIAttachmentCard(const AIChatAttachment& attachment, std::optional<QImage> image,
                             bool compact, std::function<void()> onRemove,
                             QWidget* parent = nullptr);

    const AIChatAttachment& attachment() const { return m_attachment; }
    bool hasImage() const { return m_image.has_value(); }
    // The picture decoded after the card was built.
    void setImage(std::optional<QImage> image);
    bool isCompact() const { return m_compact; }
    SymbolButton* removeButton() const { return m_remove; }
    // What the card shows for its kind, without an image.
    QString markSymbol() const;
    QColor markColor() const;
    QString stripSymbol() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Measures {
        int width;
        int height;
        int markHeight;
        int stripHeight;
        qreal markSymbol;
        qreal stripSymbol;
        qreal name;
    };
    const Measures& measures() const;

    AIChatAttachment m_attachment;
    std::optional<QImage> m_image;
    bool m_compact;
    std::function<void()> m_onRemove;
    SymbolButton* m_remove;
};

} // namespace plimbo
