#pragma once

#include <QByteArray>

#include <atomic>
#include <chrono>

namespace plimbo {

// Reads what an owner writes into a pipe until it closes its end, holding no more than
// `limit` + 1 bytes: past the limit it stops reading. Waits at most `stepTimeout` for each
// piece, and gives up as soon as `abandon` is set (`wake`, an eventfd, turns readable then).
// Takes the pipe's read end (non-blocking) and closes it.
class BoundedPipeRead {
public:
    enum class Status { ok, tooLarge, failed };
    struct Result {
        Status status = Status::failed;
        QByteArray data;
    };

    static Result run(int descriptor, qsizetype limit, std::chrono::milliseconds stepTimeout,
                      const std::atomic<bool>& abandon, int wake);
};

} // namespace plimbo
