// Reading a recorded chat stream: line splitting, event-stream parsing and chunk decoding, fed
// in network-sized pieces. A long answer is a few hundred kilobytes; this one is about 2 MB.
#include "SSELineSplitter.h"
#include "SSEParser.h"
#include "StreamChunk.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QList>
#include <QString>

using namespace plimbo;

namespace {

// The service's shape: keep-alive comments, a role chunk, many content deltas (some with
// escapes and non-ASCII text), a finish chunk, a usage chunk and the end marker; CRLF endings.
QByteArray recordedStream() {
    static const QByteArray words[] = {
        "Sure",
        ", here",
        " is",
        " the",
        " answer",
        ":\\n\\n",
        "```cpp\\n",
        "int main()",
        " {\\n",
        "    return 0;",
        "\\n}",
        "\\n```",
        " Caf\\u00e9",
        " \xe6\x9d\xb1\xe4\xba\xac",
        " \\\"quoted\\\"",
        ".",
    };
    QByteArray stream = ": OPENROUTER PROCESSING\r\n\r\n: OPENROUTER PROCESSING\r\n\r\n";
    const QByteArray head =
        R"(data: {"id":"gen-1747400000-AbCdEfGhIjKlMnOp","provider":"OpenAI",)"
        R"("model":"openai/gpt-4o","object":"chat.completion.chunk",)"
        R"("created":1747400000,"choices":[{"index":0,"delta":{"role":"assistant","content":")";
    const QByteArray tail =
        R"("},"finish_reason":null,"native_finish_reason":null,"logprobs":null}]})"
        "\r\n\r\n";
    stream += head + tail;
    for (int i = 0; stream.size() < 2 * 1024 * 1024; ++i) {
        stream += head + words[i % std::size(words)] + tail;
        if (i % 500 == 0) {
            stream += ": OPENROUTER PROCESSING\r\n\r\n";
        }
    }
    stream +=
        R"(data: {"id":"gen-1","model":"openai/gpt-4o","choices":[{"index":0,"delta":{"content":""},"finish_reason":"stop"}]})"
        "\r\n\r\n";
    stream +=
        R"(data: {"id":"gen-1","model":"openai/gpt-4o","choices":[],"usage":{"prompt_tokens":120,"completion_tokens":9000,"total_tokens":9120}})"
        "\r\n\r\n";
    stream += "data: [DONE]\r\n\r\n";
    return stream;
}

void BM_ParseAndDecodeRecordedStream(benchmark::State& state) {
    const QByteArray stream = recordedStream();
    const qsizetype pieceSize = state.range(0);
    qsizetype textLength = 0;
    for (auto _ : state) {
        SSELineSplitter splitter;
        const SSEParser parser;
        textLength = 0;
        bool done = false;
        for (qsizetype offset = 0; offset < stream.size() && !done; offset += pieceSize) {
            const QByteArrayView piece =
                QByteArrayView(stream).sliced(offset, std::min(pieceSize, stream.size() - offset));
            for (const QByteArray& line : splitter.append(piece)) {
                const SSEParseResult result = parser.parse(QString::fromUtf8(line));
                if (result.kind() == SSEParseResult::Kind::done) {
                    done = true;
                    break;
                }
                if (result.kind() == SSEParseResult::Kind::payload) {
                    const StreamChunk chunk = StreamChunk::fromJsonBytes(result.bytes());
                    if (!chunk.choices.isEmpty() && chunk.choices.first().delta.content) {
                        textLength += chunk.choices.first().delta.content->size();
                    }
                }
            }
        }
        benchmark::DoNotOptimize(textLength);
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["text_chars"] = static_cast<double>(textLength);
}

} // namespace

// Typical TLS record sized pieces, and one byte at a time as the worst case of splitting.
BENCHMARK(BM_ParseAndDecodeRecordedStream)->Arg(16 * 1024)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
