#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// Finds the files the program reads at run time (its icon). A build tree keeps them in
// "resources" beside the program; an installation in "share/plimbo" beside its "bin" folder.
class RuntimeResources {
public:
    static inline const QString iconFileName = QStringLiteral("PlimboIcon.png");

    // The folder holding the icon for a program in programDirectory, nullopt when there is none.
    static std::optional<QString> directory(const QString& programDirectory);
    // The same for the running program.
    static std::optional<QString> directory();
    // The icon's absolute path, or an empty text.
    static QString iconFile(const QString& programDirectory);
};

} // namespace plimbo
