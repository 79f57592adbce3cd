#pragma once

#include <QAbstractButton>

class QPainter;

namespace plimbo {

// Base of the notch's hand-drawn buttons: follows the pointer for hover highlights, takes
// keyboard focus by tabbing (never by clicking), and uses its title as tooltip and
// accessible name.
class NotchButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit NotchButton(QWidget* parent = nullptr);

    bool isHovered() const { return m_hovered; }
    // Holds keyboard focus that the user or the notch moved here (not focus Qt handed out
    // when the window became active): what the focus ring and highlight follow.
    bool isFocused() const;
    void setTitle(const QString& title);
    QString title() const { return m_title; }

signals:
    void hoveredChanged(bool hovered);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void setHovered(bool hovered);
    // The round buttons' face: a filled disc with its outline drawn inside its bounds.
    static void paintDisc(QPainter& painter, const QRectF& bounds, const QColor& fill,
                          const QColor& stroke, qreal strokeWidth);

private:
    QString m_title;
    bool m_hovered = false;
    Qt::FocusReason m_focusReason = Qt::OtherFocusReason;
};

} // namespace plimbo
