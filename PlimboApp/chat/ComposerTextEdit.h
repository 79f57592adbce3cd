#pragma once

#include <QList>
#include <QPlainTextEdit>
#include <QUrl>

#include <functional>

namespace plimbo {

// The composers' multi-line field. Return (or Enter) submits and never inserts a line break;
// Shift+Return or Alt+Return inserts one. It grows with its text from one line to a maximum
// and scrolls beyond. Dragged items that carry addresses are never inserted as text: they go to
// the drop handler (files become attachments there); plain dragged text is inserted as usual.
class ComposerTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    using DropHandler = std::function<bool(const QList<QUrl>& urls)>;

    ComposerTextEdit(int maximumLines, int minimumHeight, QWidget* parent = nullptr);

    // Replaces the text only when it differs, keeping the caret at the end.
    void setTextIfDifferent(const QString& text);
    // Gets every dropped address list (file or not); returns whether the drop was taken.
    void setDropHandler(DropHandler handler);
    int visibleLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void submitted();
    // A drag that carries addresses is over the field (true) or left it (false).
    void dropTargetChanged(bool targeted);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateHeight();
    int heightForLines(int lines) const;

    int m_maximumLines;
    int m_minimumHeight;
    DropHandler m_dropHandler;
};

} // namespace plimbo
