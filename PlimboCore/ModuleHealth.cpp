#include "ModuleHealth.h"

namespace plimbo {

ModuleHealth ModuleHealth::healthy(const QString& text) {
    return ModuleHealth(Kind::healthy, text);
}

ModuleHealth ModuleHealth::needsAttention(const QString& text) {
    return ModuleHealth(Kind::needsAttention, text);
}

ModuleHealth ModuleHealth::unavailable(const QString& text) {
    return ModuleHealth(Kind::unavailable, text);
}

ModuleHealth ModuleHealth::stopped() {
    return ModuleHealth(Kind::stopped, QString());
}

ModuleHealth ModuleHealth::starting() {
    return ModuleHealth(Kind::starting, QString());
}

QString ModuleHealth::label() const {
    switch (m_kind) {
    case Kind::stopped:
        return QStringLiteral("Stopped");
    case Kind::starting:
        return QStringLiteral("Starting");
    case Kind::healthy:
    case Kind::needsAttention:
    case Kind::unavailable:
        break;
    }
    return m_text;
}

} // namespace plimbo
