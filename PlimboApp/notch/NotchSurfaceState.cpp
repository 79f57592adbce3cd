#include "NotchSurfaceState.h"

namespace plimbo {

NotchSurfaceState::NotchSurfaceState(QObject* parent)
    : QObject(parent) {}

void NotchSurfaceState::setExpanded(bool value) {
    if (m_isExpanded != value) {
        m_isExpanded = value;
        emit isExpandedChanged();
    }
}

void NotchSurfaceState::setTransitioning(bool value) {
    if (m_isTransitioning != value) {
        m_isTransitioning = value;
        emit isTransitioningChanged();
    }
}

void NotchSurfaceState::setShowsExpandedContent(bool value) {
    if (m_showsExpandedContent != value) {
        m_showsExpandedContent = value;
        emit showsExpandedContentChanged();
    }
}

void NotchSurfaceState::setExpansionProgress(qreal value) {
    if (m_expansionProgress != value) {
        m_expansionProgress = value;
        emit expansionProgressChanged();
    }
}

void NotchSurfaceState::setCompactHovered(bool value) {
    if (m_isCompactHovered != value) {
        m_isCompactHovered = value;
        emit isCompactHoveredChanged();
    }
}

void NotchSurfaceState::setUsesExpandedCompactCanvas(bool value) {
    if (m_usesExpandedCompactCanvas != value) {
        m_usesExpandedCompactCanvas = value;
        emit usesExpandedCompactCanvasChanged();
    }
}

void NotchSurfaceState::setHasHardwareNotch(bool value) {
    if (m_hasHardwareNotch != value) {
        m_hasHardwareNotch = value;
        emit hasHardwareNotchChanged();
    }
}

void NotchSurfaceState::setTopInset(qreal value) {
    if (m_topInset != value) {
        m_topInset = value;
        emit topInsetChanged();
    }
}

void NotchSurfaceState::setCollapsedWidth(qreal value) {
    if (m_collapsedWidth != value) {
        m_collapsedWidth = value;
        emit collapsedWidthChanged();
    }
}

void NotchSurfaceState::setScreenName(const QString& value) {
    if (m_screenName != value) {
        m_screenName = value;
        emit screenNameChanged();
    }
}

} // namespace plimbo
