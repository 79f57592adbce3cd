#pragma once

#include <QHash>
#include <QList>
#include <QMargins>
#include <QUuid>
#include <QVBoxLayout>

namespace plimbo {

// The views of a list of items that have ids (chats, turns), one per item and in the items'
// order, in a column at the top of a widget. An item keeps its view from one update to the next,
// so a change to one item only updates the view it belongs to.
template <typename View> class ViewColumn {
public:
    // Lays out `holder` as the column, `spacing` apart within `margins`.
    ViewColumn(QWidget* holder, const QMargins& margins, int spacing)
        : m_layout(new QVBoxLayout(holder)) {
        m_layout->setContentsMargins(margins);
        m_layout->setSpacing(spacing);
        // Below the views: keeps them at the top.
        m_layout->addStretch(1);
    }

    const QList<View*>& views() const { return m_views; }

    // Whether the column shows these items, whatever else about them has changed.
    template <typename Item> bool shows(const QList<Item>& items) const {
        if (items.size() != m_ids.size()) {
            return false;
        }
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items[i].id != m_ids[i]) {
                return false;
            }
        }
        return true;
    }

    // Shows `items`: `show(view, item, index)` brings the view the item had up to date (or, given
    // null, makes one) and returns it; views of items that are gone are deleted. Returns whether
    // the number of items changed.
    template <typename Item, typename Show> bool update(const QList<Item>& items, Show show) {
        QHash<QUuid, View*> existing;
        for (qsizetype i = 0; i < m_views.size(); ++i) {
            existing.insert(m_ids[i], m_views[i]);
        }
        QList<View*> views;
        QList<QUuid> ids;
        for (qsizetype i = 0; i < items.size(); ++i) {
            ids.append(items[i].id);
            views.append(show(existing.take(items[i].id), items[i], i));
        }
        for (View* gone : std::as_const(existing)) {
            m_layout->removeWidget(gone);
            delete gone;
        }
        if (views != m_views) {
            for (View* view : std::as_const(views)) {
                m_layout->removeWidget(view);
            }
            for (qsizetype i = 0; i < views.size(); ++i) {
                m_layout->insertWidget(static_cast<int>(i), views[i]);
            }
        }
        m_views = views;
        const bool countChanged = ids.size() != m_ids.size();
        m_ids = ids;
        return countChanged;
    }

private:
    QVBoxLayout* m_layout;
    QList<View*> m_views;
    QList<QUuid> m_ids;
};

} // namespace plimbo
