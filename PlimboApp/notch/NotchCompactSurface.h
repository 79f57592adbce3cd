#pragma once

#include <QPainterPath>
#include <QWidget>

namespace plimbo {

class NotchAnimatedValue;
class NotchCompactActionButton;
class NotchIdentityMark;
class NotchSurfaceView;

// The collapsed notch: a black cap hanging from the top edge with the brand mark. A click
// anywhere on the cap toggles the shelf; while the pointer rests on it the cap widens and
// offers two quick actions (a new assistant chat, a screenshot) on either side of the
// housing. Only points inside the cap count for clicks and hover.
class NotchCompactSurface : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal quickActionSideInset = 13;

    explicit NotchCompactSurface(NotchSurfaceView& surface, QWidget* parent = nullptr);

    // The cap's width: the hover width while hovered, else the collapsed width.
    qreal compactVisibleWidth() const;
    // The width drawn now, on its way to compactVisibleWidth().
    qreal displayedVisibleWidth() const;
    QRectF pillRect() const;
    QPainterPath pillPath() const;
    // The quick actions sit this far below the screen's top edge, beside the housing.
    static qreal quickActionsTopPadding(qreal topInset);

    NotchIdentityMark& identityMark() const { return *m_mark; }
    NotchCompactActionButton& assistantButton() const { return *m_assistant; }
    NotchCompactActionButton& screenshotButton() const { return *m_screenshot; }
    bool showsQuickActions() const;
    // Keyboard focus that shows its ring (see NotchButton::isFocused()).
    bool isFocused() const;

    // What a click on the cap does: toggles the shelf.
    void activate();
    // The two quick actions; each first ends the hover so the cap narrows meanwhile.
    void runAssistantAction();
    void runScreenshotAction();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void hoverChanged();
    void setPointerInside(bool inside);
    void layoutChildren();

    NotchSurfaceView& m_surface;
    NotchAnimatedValue* m_visibleWidth;
    NotchAnimatedValue* m_quickActions;
    NotchIdentityMark* m_mark;
    NotchCompactActionButton* m_assistant;
    NotchCompactActionButton* m_screenshot;
    bool m_pointerInside = false;
    bool m_pressed = false;
    Qt::FocusReason m_focusReason = Qt::OtherFocusReason;
};

} // namespace plimbo
