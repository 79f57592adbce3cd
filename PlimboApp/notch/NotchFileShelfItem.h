#pragma once

#include <QIcon>
#include <QPoint>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

class QMimeData;

namespace plimbo {

class NotchCircleButton;

// One file on the notch's shelf: its icon, name and kind, and a remove button that shows
// while the tile is hovered or the button has keyboard focus. Dragging the tile out offers
// the file to other applications as a copy; the shelf keeps it.
class NotchFileShelfItem : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize tileSize{154, 44};

    NotchFileShelfItem(const QUrl& url, std::function<void()> onRemove, QWidget* parent = nullptr);

    QUrl url() const { return m_url; }
    bool isHovered() const { return m_hovered; }
    NotchCircleButton& removeButton() const { return *m_remove; }
    bool showsRemoveButton() const;
    // An image file shows its own picture once it is decoded (off the main thread).
    bool showsThumbnail() const { return m_showsThumbnail; }
    // The data a drag out of the shelf carries: the file's URL.
    QMimeData* dragData() const;

    // The file's name as the shelf shows it.
    static QString name(const QUrl& url);
    // The extension in capitals, "FILE" without one.
    static QString kind(const QUrl& url);
    // The desktop's icon for the file, or a plain document or folder symbol.
    static QIcon icon(const QUrl& url);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setHovered(bool hovered);
    void updateRemoveButton();
    QPixmap dragPreview() const;

    QUrl m_url;
    std::function<void()> m_onRemove;
    QIcon m_icon;
    NotchCircleButton* m_remove;
    bool m_hovered = false;
    bool m_showsThumbnail = false;
    std::optional<QPoint> m_pressPosition;
};

} // namespace plimbo
