#include "DashboardSymbols.h"

#include <QtGlobal>

static void initialiseDashboardSymbols() {
    Q_INIT_RESOURCE(dashboard_symbols);
}

namespace plimbo {

void DashboardSymbols::load() {
    static const bool loaded = [] {
        initialiseDashboardSymbols();
        return true;
    }();
    Q_UNUSED(loaded);
}

} // namespace plimbo
