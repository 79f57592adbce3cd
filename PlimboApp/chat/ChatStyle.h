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
    static QColor secondary(const QWidget* widget);
    static QColor white(qreal opacity);
    static QColor black(qreal opacity);

    // A label that shows `text` exactly as given, never as rich text.
    static QLabel* plainLabel(const QString& text, QWidget* parent = nullptr);
};

} // namespace plimbo
