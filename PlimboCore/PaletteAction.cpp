#include "PaletteAction.h"

namespace plimbo {

PaletteAction PaletteAction::launchApplication(const QUrl& applicationURL) {
    PaletteAction action(Kind::launchApplication);
    action.m_url = applicationURL;
    return action;
}

PaletteAction PaletteAction::copyClipboard(const QUuid& itemID) {
    PaletteAction action(Kind::copyClipboard);
    action.m_itemID = itemID;
    return action;
}

size_t qHash(const PaletteAction& action, size_t seed) noexcept {
    return qHashMulti(seed, static_cast<int>(action.kind()), action.applicationURL(),
                      action.clipboardItemID());
}

} // namespace plimbo
