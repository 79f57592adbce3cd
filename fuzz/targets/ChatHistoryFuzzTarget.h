#pragma once

#include <cstddef>
#include <cstdint>

namespace plimbo {

// The chat history file read by ChatHistoryCodec. Whatever it accepts must write back to bytes
// that read as the same sessions and write again to the same bytes.
int fuzzChatHistory(const uint8_t* data, size_t size);

} // namespace plimbo
