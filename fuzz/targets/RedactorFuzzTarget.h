#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace plimbo {

// Outgoing text through SensitiveDataRedactor. The bytes are read as UTF-8, or (when the first
// byte is odd) as raw UTF-16 so that lone surrogates occur. The redacted text must equal what
// the plain rule gives (each pattern replaced in turn over the whole text, later patterns
// seeing earlier markers), keep no secret, leave text without one as it was, and not change
// when redacted again.
int fuzzRedactor(const uint8_t* data, size_t size);

// The plain rule, one full rewrite of the text per pattern.
QString referenceRedaction(const QString& text);

} // namespace plimbo
