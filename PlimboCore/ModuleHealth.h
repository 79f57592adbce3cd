#pragma once

#include <QMetaType>
#include <QString>

namespace plimbo {

// Last known health of a module. The three text cases carry a message; stopped and starting
// carry none.
class ModuleHealth {
public:
    enum class Kind { healthy, needsAttention, unavailable, stopped, starting };

    ModuleHealth() = default; // stopped

    static ModuleHealth healthy(const QString& text);
    static ModuleHealth needsAttention(const QString& text);
    static ModuleHealth unavailable(const QString& text);
    static ModuleHealth stopped();
    static ModuleHealth starting();

    Kind kind() const { return m_kind; }
    // The message of the text cases; empty for stopped and starting.
    QString text() const { return m_text; }
    // The text itself for the text cases, "Stopped" or "Starting" otherwise.
    QString label() const;

    bool operator==(const ModuleHealth&) const = default;

private:
    ModuleHealth(Kind kind, const QString& text)
        : m_kind(kind)
        , m_text(text) {}

    Kind m_kind = Kind::stopped;
    QString m_text;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::ModuleHealth)
