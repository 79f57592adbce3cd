#include "ListSelection.h"

#include <algorithm>

namespace plimbo {

namespace {

qsizetype indexOf(const QStringList& ids, const std::optional<QString>& id) {
    return id ? ids.indexOf(*id) : -1;
}

} // namespace

ListSelection::ListSelection(Show show)
    : m_show(std::move(show)) {}

void ListSelection::select(const std::optional<QString>& id) {
    m_selectedID = id;
    if (m_show) {
        m_show(id);
    }
}

void ListSelection::selectFirst(const QStringList& ids) {
    select(ids.isEmpty() ? std::nullopt : std::optional<QString>(ids.first()));
}

void ListSelection::keepOrSelectFirst(const QStringList& ids) {
    if (indexOf(ids, m_selectedID) < 0) {
        selectFirst(ids);
    }
}

void ListSelection::move(const QStringList& ids, int delta) {
    if (ids.isEmpty()) {
        return;
    }
    const qsizetype index = std::clamp<qsizetype>(chosenIndex(ids) + delta, 0, ids.size() - 1);
    select(ids.at(index));
}

qsizetype ListSelection::chosenIndex(const QStringList& ids) const {
    if (ids.isEmpty()) {
        return -1;
    }
    return std::max<qsizetype>(indexOf(ids, m_selectedID), 0);
}

} // namespace plimbo
