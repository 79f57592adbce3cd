#pragma once

#include <QObject>
#include <QString>

namespace plimbo {

// The notch panel's shape and the measurements of the screen it hangs from. The window
// controller is its only writer; the notch views read it. A write of an equal value is
// stored silently, so views redraw only on real changes.
class NotchSurfaceState : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isExpanded READ isExpanded WRITE setExpanded NOTIFY isExpandedChanged)
    Q_PROPERTY(bool isTransitioning READ isTransitioning WRITE setTransitioning NOTIFY
                   isTransitioningChanged)
    Q_PROPERTY(bool showsExpandedContent READ showsExpandedContent WRITE setShowsExpandedContent
                   NOTIFY showsExpandedContentChanged)
    Q_PROPERTY(qreal expansionProgress READ expansionProgress WRITE setExpansionProgress NOTIFY
                   expansionProgressChanged)
    Q_PROPERTY(bool isCompactHovered READ isCompactHovered WRITE setCompactHovered NOTIFY
                   isCompactHoveredChanged)
    Q_PROPERTY(bool usesExpandedCompactCanvas READ usesExpandedCompactCanvas WRITE
                   setUsesExpandedCompactCanvas NOTIFY usesExpandedCompactCanvasChanged)
    Q_PROPERTY(bool hasHardwareNotch READ hasHardwareNotch WRITE setHasHardwareNotch NOTIFY
                   hasHardwareNotchChanged)
    Q_PROPERTY(qreal topInset READ topInset WRITE setTopInset NOTIFY topInsetChanged)
    Q_PROPERTY(qreal collapsedWidth READ collapsedWidth WRITE setCollapsedWidth NOTIFY
                   collapsedWidthChanged)
    Q_PROPERTY(QString screenName READ screenName WRITE setScreenName NOTIFY screenNameChanged)

public:
    explicit NotchSurfaceState(QObject* parent = nullptr);

    // The panel is expanded, or an expand is under way.
    bool isExpanded() const { return m_isExpanded; }
    void setExpanded(bool value);
    // An expand or collapse runs; only it may move the panel meanwhile.
    bool isTransitioning() const { return m_isTransitioning; }
    void setTransitioning(bool value);
    // The shelf's content is faded in.
    bool showsExpandedContent() const { return m_showsExpandedContent; }
    void setShowsExpandedContent(bool value);
    // 0 compact to 1 expanded: the target of the drawn shape.
    qreal expansionProgress() const { return m_expansionProgress; }
    void setExpansionProgress(qreal value);
    // The pointer is over the compact cap.
    bool isCompactHovered() const { return m_isCompactHovered; }
    void setCompactHovered(bool value);
    // The compact panel has the wide hover canvas (kept a moment after the pointer left).
    bool usesExpandedCompactCanvas() const { return m_usesExpandedCompactCanvas; }
    void setUsesExpandedCompactCanvas(bool value);
    // The chosen screen has a camera housing.
    bool hasHardwareNotch() const { return m_hasHardwareNotch; }
    void setHasHardwareNotch(bool value);
    // Height of the notch band at the top of the chosen screen.
    qreal topInset() const { return m_topInset; }
    void setTopInset(qreal value);
    // Width of the compact cap.
    qreal collapsedWidth() const { return m_collapsedWidth; }
    void setCollapsedWidth(qreal value);
    QString screenName() const { return m_screenName; }
    void setScreenName(const QString& value);

signals:
    void isExpandedChanged();
    void isTransitioningChanged();
    void showsExpandedContentChanged();
    void expansionProgressChanged();
    void isCompactHoveredChanged();
    void usesExpandedCompactCanvasChanged();
    void hasHardwareNotchChanged();
    void topInsetChanged();
    void collapsedWidthChanged();
    void screenNameChanged();

private:
    bool m_isExpanded = false;
    bool m_isTransitioning = false;
    bool m_showsExpandedContent = false;
    qreal m_expansionProgress = 0;
    bool m_isCompactHovered = false;
    bool m_usesExpandedCompactCanvas = false;
    bool m_hasHardwareNotch = false;
    qreal m_topInset = 34;
    qreal m_collapsedWidth = 224;
    QString m_screenName = QStringLiteral("Display");
};

} // namespace plimbo
