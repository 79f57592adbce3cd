#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace plimbo {

// The keyboard selection of a list surface (palette, launcher, clipboard), kept by row
// identifier so that it survives a rebuilt list. It never holds the list: each call is given the
// identifiers of the results as they are now, so an identifier that left the list simply counts
// as no selection. Every change, even to the same identifier, is handed to `show` (the row list
// that highlights it). Widget-free; main thread only.
class ListSelection {
public:
    using Show = std::function<void(const std::optional<QString>&)>;

    explicit ListSelection(Show show);

    // The row identifiers of `items`, as `rowID` names each one.
    template <typename Item, typename RowID>
    static QStringList rowIDs(const QList<Item>& items, RowID rowID) {
        QStringList ids;
        ids.reserve(items.size());
        for (const Item& item : items) {
            ids.append(rowID(item));
        }
        return ids;
    }

    std::optional<QString> selectedID() const { return m_selectedID; }

    void select(const std::optional<QString>& id);
    // The first identifier, or none for an empty list.
    void selectFirst(const QStringList& ids);
    // Keeps the selection while it is still listed, else goes to the first.
    void keepOrSelectFirst(const QStringList& ids);
    // Steps by `delta` from the selected row (from the first when none is listed), stopping at
    // either end; an empty list changes nothing.
    void move(const QStringList& ids, int delta);
    // The row Return acts on: the selected one, else the first; -1 for an empty list.
    qsizetype chosenIndex(const QStringList& ids) const;

private:
    Show m_show;
    std::optional<QString> m_selectedID;
};

} // namespace plimbo
