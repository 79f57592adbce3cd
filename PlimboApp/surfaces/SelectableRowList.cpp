#include "SelectableRowList.h"

#include "SelectableRow.h"

#include <QScrollBar>
#include <QVBoxLayout>

namespace plimbo {

SelectableRowList::SelectableRowList(QWidget* parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_layout(new QVBoxLayout(m_content)) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A slim bar over the panel's material rather than the desktop style's trough.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 4px 2px 4px 0; }"
        "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 110);"
        " border-radius: 3px; min-height: 24px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; "
        "}"));
    // The panel's own background shows through.
    viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    m_layout->setContentsMargins(10, 8, 10, 8);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);
    setWidget(m_content);
}

void SelectableRowList::setRows(const QList<SelectableRow*>& rows) {
    // A row may be the sender of the click that led here, so it goes later.
    for (SelectableRow* old : std::as_const(m_rows)) {
        m_layout->removeWidget(old);
        old->disconnect(this);
        old->hide();
        old->deleteLater();
    }
    m_rows = rows;
    int index = 0;
    for (SelectableRow* row : rows) {
        m_layout->insertWidget(index++, row);
        const QString id = row->id();
        connect(row, &SelectableRow::clicked, this, [this, id] { emit rowClicked(id); });
    }
}

SelectableRow* SelectableRowList::row(const QString& id) const {
    for (SelectableRow* row : m_rows) {
        if (row->id() == id) {
            return row;
        }
    }
    return nullptr;
}

void SelectableRowList::setSelectedID(const std::optional<QString>& id) {
    SelectableRow* selected = nullptr;
    for (SelectableRow* row : std::as_const(m_rows)) {
        const bool isSelected = id && row->id() == *id;
        row->setSelected(isSelected);
        if (isSelected) {
            selected = row;
        }
    }
    if (selected) {
        ensureWidgetVisible(selected, 0, 8);
    }
}

} // namespace plimbo
