#pragma once

#include <QHashFunctions>
#include <QUrl>
#include <QUuid>

namespace plimbo {

// What choosing a palette entry does. launchApplication carries the application's location,
// copyClipboard the id of a clipboard history entry; the other cases carry nothing.
class PaletteAction {
public:
    enum class Kind {
        launchApplication,
        openDashboard,
        openLauncher,
        openClipboard,
        openSettings,
        openAI,
        airDrop,
        screenshot,
        toggleKeepAwake,
        copyClipboard,
    };

    PaletteAction() = default; // openDashboard

    static PaletteAction launchApplication(const QUrl& applicationURL);
    static PaletteAction openDashboard() { return PaletteAction(Kind::openDashboard); }
    static PaletteAction openLauncher() { return PaletteAction(Kind::openLauncher); }
    static PaletteAction openClipboard() { return PaletteAction(Kind::openClipboard); }
    static PaletteAction openSettings() { return PaletteAction(Kind::openSettings); }
    static PaletteAction openAI() { return PaletteAction(Kind::openAI); }
    static PaletteAction airDrop() { return PaletteAction(Kind::airDrop); }
    static PaletteAction screenshot() { return PaletteAction(Kind::screenshot); }
    static PaletteAction toggleKeepAwake() { return PaletteAction(Kind::toggleKeepAwake); }
    static PaletteAction copyClipboard(const QUuid& itemID);

    Kind kind() const { return m_kind; }
    // The payload of launchApplication; empty otherwise.
    QUrl applicationURL() const { return m_url; }
    // The payload of copyClipboard; null otherwise.
    QUuid clipboardItemID() const { return m_itemID; }

    bool operator==(const PaletteAction&) const = default;

private:
    explicit PaletteAction(Kind kind)
        : m_kind(kind) {}

    Kind m_kind = Kind::openDashboard;
    QUrl m_url;
    QUuid m_itemID;
};

size_t qHash(const PaletteAction& action, size_t seed = 0) noexcept;

} // namespace plimbo
