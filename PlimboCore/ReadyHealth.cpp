#include "ReadyHealth.h"

namespace plimbo {

QFuture<ModuleHealth> ReadyHealth::operator()(const ModuleHealth& health) {
    if (!m_last.isValid() || m_last.result() != health) {
        m_last = QtFuture::makeReadyFuture(ModuleHealth(health));
    }
    return m_last;
}

} // namespace plimbo
