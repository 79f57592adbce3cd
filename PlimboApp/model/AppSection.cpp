#include "AppSection.h"

namespace plimbo {

QString toString(AppSection section) {
    switch (section) {
    case AppSection::overview:
        return QStringLiteral("overview");
    case AppSection::launcher:
        return QStringLiteral("launcher");
    case AppSection::clipboard:
        return QStringLiteral("clipboard");
    case AppSection::ai:
        return QStringLiteral("ai");
    case AppSection::permissions:
        return QStringLiteral("permissions");
    case AppSection::diagnostics:
        return QStringLiteral("diagnostics");
    }
    return QStringLiteral("overview");
}

QList<AppSection> allAppSections() {
    return {AppSection::overview, AppSection::launcher,    AppSection::clipboard,
            AppSection::ai,       AppSection::permissions, AppSection::diagnostics};
}

std::optional<AppSection> appSectionFromString(const QString& raw) {
    for (AppSection section : allAppSections()) {
        if (toString(section) == raw) {
            return section;
        }
    }
    return std::nullopt;
}

} // namespace plimbo
