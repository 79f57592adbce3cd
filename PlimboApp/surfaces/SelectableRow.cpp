#include "SelectableRow.h"

#include "SurfaceStyle.h"
#include "PlimboTheme.h"

#include <QPainter>

namespace plimbo {

SelectableRow::SelectableRow(const QString& id, QWidget* parent)
    : QAbstractButton(parent)
    , m_id(id) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SelectableRow::setSelected(bool selected) {
    if (m_selected == selected) {
        return;
    }
    m_selected = selected;
    selectionChanged(selected);
    update();
}

void SelectableRow::selectionChanged(bool) {}

void SelectableRow::paintEvent(QPaintEvent*) {
    if (!m_selected) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // The list keeps its focus in the search field, so its highlight is the quiet one.
    const qreal opacity = SurfaceStyle::isLightScheme(palette()) ? 0.16 : 0.3;
    painter.setBrush(SurfaceStyle::withOpacity(PlimboTheme::accent(), opacity));
    painter.drawRoundedRect(QRectF(rect()), highlightRadius, highlightRadius);
}

} // namespace plimbo
