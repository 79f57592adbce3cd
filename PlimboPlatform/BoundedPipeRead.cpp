#include "BoundedPipeRead.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

namespace plimbo {

namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype pieceSize = 64 * 1024;

} // namespace

BoundedPipeRead::Result BoundedPipeRead::run(int descriptor, qsizetype limit,
                                             std::chrono::milliseconds stepTimeout,
                                             const std::atomic<bool>& abandon, int wake) {
    Result result;
    QByteArray data;
    Clock::time_point deadline = Clock::now() + stepTimeout;
    for (;;) {
        if (abandon) {
            break;
        }
        // One byte more than the limit is enough to know the text is too large.
        const qsizetype wanted = qMin(pieceSize, limit + 1 - data.size());
        const qsizetype before = data.size();
        data.resize(before + wanted);
        const ssize_t got = ::read(descriptor, data.data() + before, size_t(wanted));
        if (got > 0) {
            data.resize(before + got);
            if (data.size() > limit) {
                result.status = Status::tooLarge;
                break;
            }
            deadline = Clock::now() + stepTimeout;
            continue;
        }
        data.resize(before);
        if (got == 0) {
            result = {Status::ok, std::move(data)};
            break;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd descriptors[] = {{descriptor, POLLIN, 0}, {wake, POLLIN, 0}};
        ::poll(descriptors, 2, int(left.count()) + 1);
    }
    ::close(descriptor);
    return result;
}

} // namespace plimbo
