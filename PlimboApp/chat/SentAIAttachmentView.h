#pragma once

#include "AIChatAttachment.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace plimbo {

// An attachment sent with a prompt: a 190 by 126 photo tile with its name over a dark fade when
// the image is at hand, otherwise a 230 by 56 document row with a kind badge, the name and
// "PDF" or "TEXT", " · " and the size.
class SentAIAttachmentView : public QWidget {
    Q_OBJECT

public:
    SentAIAttachmentView(const AIChatAttachment& attachment, std::optional<QImage> image,
                         QWidget* parent = nullptr);

    const AIChatAttachment& attachment() const { return m_attachment; }
    bool showsPhoto() const { return m_image.has_value(); }
    // The picture decoded after the view was built: the row becomes a photo tile.
    void setImage(std::optional<QImage> image);
    QString sentAttachmentSubtitle() const;
    QString badgeSymbol() const;
    QColor badgeColor() const;
    // The name's and the size line's colours, readable on the prompt bubble in either scheme.
    QColor textColor() const;
    QColor subtitleColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isLightScheme() const;
    void paintPhoto(QPainter& painter);
    void paintDocument(QPainter& painter);

    AIChatAttachment m_attachment;
    std::optional<QImage> m_image;
};

} // namespace plimbo
