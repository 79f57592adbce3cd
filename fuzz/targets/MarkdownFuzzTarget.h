#pragma once

#include <cstddef>
#include <cstdint>

namespace plimbo {

// A reply's text through the block and inline Markdown parsers, also fed as a growing stream
// into MarkdownDocument, whose blocks must always equal a full parse of the text so far.
int fuzzMarkdown(const uint8_t* data, size_t size);

} // namespace plimbo
