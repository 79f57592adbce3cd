#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace plimbo {

// Fonts and colours shared by the chat views. Sizes are in pixels, one per point of the
// design; the text styles follow the desktop type scale the design was made with.
class ChatStyle {
public:
    ChatStyle() = delete;

    enum class TextStyle { body, callout, caption, caption2, headline, title3 };

    static qreal pixelSize(TextStyle style);
    // The application font at `pixels`, with `weight`.
    static QFont font(qreal pixels, QFont::Weight weight = QFont::Normal);
    static QFont font(TextStyle style, QFont::Weight weight = QFont::Normal);
    static QFont monospace(qreal pixels);
    // `base` scaled from body size to `style` (headings and code follow their caller's font).
    static QFont scaled(const QFont& base, TextStyle style);

    // The widget's text colour at `opacity` (the design's "primary" colour).
    static QColor primary(const QWidget* widget, qreal opacity = 1.0);
    static QColor secondary(const QWidget* widget);
    static QColor withOpacity(QColor color, qreal opacity);
    static QColor white(qreal opacity);
    static QColor black(qreal opacity);

    // A label that shows `text` exactly as given, never as rich text.
    static QLabel* plainLabel(const QString& text, QWidget* parent = nullptr);
};

} // namespace plimbo
