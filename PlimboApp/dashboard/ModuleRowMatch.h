#pragma once

#include "ModuleRecord.h"

#include <QList>

#include <algorithm>

namespace plimbo {

// Whether a view's module rows stand for exactly these modules, in this order, so they can be
// updated in place rather than built again; `idOf` gives a row's module id.
template <typename Row, typename IdOf>
bool rowsMatchModules(const QList<Row>& rows, const QList<ModuleRecord>& records, IdOf idOf) {
    return std::equal(
        rows.cbegin(), rows.cend(), records.cbegin(), records.cend(),
        [&idOf](const Row& row, const ModuleRecord& record) { return idOf(row) == record.id(); });
}

} // namespace plimbo
