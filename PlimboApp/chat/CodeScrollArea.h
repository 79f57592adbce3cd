#pragma once

#include <QScrollArea>

namespace plimbo {

// Holds a code block's unwrapped text: as tall as the text (plus the scroll bar when the
// longest line does not fit), scrolling sideways instead of wrapping.
class CodeScrollArea : public QScrollArea {
    Q_OBJECT

public:
    explicit CodeScrollArea(QWidget* content, QWidget* parent = nullptr);

    // Call after the content's text changed.
    void contentChanged();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool needsScrollBar() const;
    bool m_hadScrollBar = false;
};

} // namespace plimbo
