#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

#include <functional>

namespace plimbo {

// A composer area that takes dragged addresses: while a drag that carries them is over it,
// isTargeted() is true; a drop hands the file addresses among them (possibly none) to the
// handler, whose answer is the drop's result.
class AttachmentDropZone : public QWidget {
    Q_OBJECT

public:
    using Handler = std::function<bool(const QList<QUrl>& fileUrls)>;

    explicit AttachmentDropZone(QWidget* parent = nullptr);

    void setHandler(Handler handler);
    bool isTargeted() const { return m_targeted; }
    // Also for drags that reach a child first (the text field passes them on).
    void setTargeted(bool targeted);
    // Keeps the file addresses, in order, and passes them on; the handler's answer.
    bool drop(const QList<QUrl>& urls);

    static QList<QUrl> fileUrls(const QList<QUrl>& urls);

signals:
    void targetedChanged(bool targeted);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Handler m_handler;
    bool m_targeted = false;
};

} // namespace plimbo
