#pragma once

#include "SSEParseResult.h"

#include <QStringView>

namespace plimbo {

// Classifies one line of the chat-completions event stream. Keeps no state: the caller splits
// the byte stream into lines (SSELineSplitter) and nothing is joined across lines.
class SSEParser {
public:
    // `line` comes without its line break.
    SSEParseResult parse(QStringView line) const;
};

} // namespace plimbo
