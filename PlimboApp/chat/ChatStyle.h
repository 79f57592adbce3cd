#pragma once

#include "DesignStyle.h"

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace plimbo {

// Fonts and colours shared by the chat views, on the design's type scale.
class ChatStyle : public DesignStyle {
public:
    ChatStyle() = delete;

    // `base` scaled from body size to `style` (headings and code follow their caller's font).
    static QFont scaled(const QFont& base, TextStyle style);

    // The widget's text colour at `opacity` (the design's "primary" colour).
    static QColor primary(const QWidget* widget, qreal opacity = 1.0);
    // The secondary text colour: the text colour at 0.55 opacity, or as much more as it takes
    // to read at a contrast of 4.5:1 (WCAG AA) on the widget's window colour, with room for the
    // light tints the chat views lay under text.
    static QColor secondary(const QWidget* widget);
    static QColor secondary(const QColor& text, const QColor& background);
    // The accent as a text colour (links, text buttons): moved toward the text colour as far as
    // it takes to read at 4.5:1 on the window.
    static QColor accentText(const QPalette& palette);
    // The warning colour, darkened on a light window so that it reads as text.
    static QColor warning(const QWidget* widget);
    // `foreground` painted over `background`, opaque.
    static QColor composite(const QColor& foreground, const QColor& background);
    // WCAG contrast ratio of two colours, the first composited over the second.
    static qreal contrast(const QColor& foreground, const QColor& background);
    static QColor white(qreal opacity);
    static QColor black(qreal opacity);

    // A label that shows `text` exactly as given, never as rich text.
    static QLabel* plainLabel(const QString& text, QWidget* parent = nullptr);
};

} // namespace plimbo
