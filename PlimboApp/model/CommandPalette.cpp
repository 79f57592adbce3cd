#include "CommandPalette.h"

#include "PaletteResultsBuilder.h"
#include "PropertyAssign.h"

namespace plimbo {

CommandPalette::CommandPalette(const LauncherService& launcher, const ClipboardService& clipboard,
                               const KeepAwakeService& keepAwake, QObject* parent)
    : QObject(parent)
    , m_launcher(launcher)
    , m_clipboard(clipboard)
    , m_keepAwake(keepAwake) {}

void CommandPalette::setQuery(const QString& query) {
    assign(this, m_query, query, &CommandPalette::queryChanged);
    rebuild();
}

void CommandPalette::rebuild() {
    assign(this, m_results,
           PaletteResultsBuilder::build(m_query, m_launcher, m_clipboard, m_keepAwake),
           &CommandPalette::resultsChanged);
}

} // namespace plimbo
