#pragma once

#include "SurfaceStyle.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

namespace plimbo {

// A run of plain text shown exactly as given (never as rich text), in a tone of the palette or
// a fixed colour, on a limited number of lines: what does not fit is first shrunk (down to the
// minimum scale factor) and then cut with an ellipsis where the elide mode says.
class SurfaceText : public QWidget {
    Q_OBJECT

public:
    explicit SurfaceText(const QString& text = QString(), QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    SurfaceStyle::Tone tone() const { return m_tone; }
    void setTone(SurfaceStyle::Tone tone);
    // A fixed colour wins over the tone; none goes back to the tone.
    void setColor(const std::optional<QColor>& color);
    // The colour the text is drawn in now.
    QColor resolvedColor() const;

    void setMaximumLines(int lines);
    void setElideMode(Qt::TextElideMode mode);
    void setMinimumScaleFactor(qreal factor);
    void setAlignment(Qt::Alignment alignment);

    // The lines as drawn at the current width, the last one cut with an ellipsis when the text
    // does not fit.
    QStringList shownLines() const { return layoutLines(fittedFont(width()), width()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_maximumLines > 1; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QStringList layoutLines(const QFont& font, int width) const;
    QFont fittedFont(int width) const;

    QString m_text;
    SurfaceStyle::Tone m_tone = SurfaceStyle::Tone::primary;
    std::optional<QColor> m_color;
    int m_maximumLines = 1;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
    qreal m_minimumScaleFactor = 1.0;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

} // namespace plimbo
