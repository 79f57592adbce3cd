#pragma once

#include "DesignStyle.h"

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace plimbo {

// Fonts, colours and labels of the dashboard, settings and about windows, on the design's type
// scale.
class DashboardStyle : public DesignStyle {
public:
    DashboardStyle() = delete;

    using Text = TextStyle;
    // How strongly text stands out: the window's text colour at decreasing strength.
    enum class Emphasis { primary, secondary, tertiary };

    static QColor color(const QWidget* widget, Emphasis emphasis);
    // The thin outline of cards and separators.
    static QColor hairline(const QWidget* widget);

    // A label that shows `text` verbatim (never as rich text) and lets clicks through to the
    // control it sits on.
    static QLabel* label(const QString& text, const QFont& font,
                         Emphasis emphasis = Emphasis::primary, QWidget* parent = nullptr);
    // Re-tints an existing label.
    static void setEmphasis(QLabel* label, Emphasis emphasis);
    // Uses the accent colour for selections, switches and focus in `root` and below.
    static void applyTint(QWidget* root);
    // The pixel size of the symbol drawn next to a text of `font`.
    static int symbolPixels(const QFont& font);
};

} // namespace plimbo
