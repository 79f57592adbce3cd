#pragma once

#include "ModuleHealth.h"

#include <QFuture>

namespace plimbo {

// The finished future a module answers a health check with. The registry asks every few
// seconds all day and the answer rarely changes, so the last future is handed out again while
// the health it holds is the same, instead of building a new one each time.
class ReadyHealth {
public:
    QFuture<ModuleHealth> operator()(const ModuleHealth& health);

private:
    QFuture<ModuleHealth> m_last;
};

} // namespace plimbo
