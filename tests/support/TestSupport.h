#pragma once

#include <QColor>
#include <QFuture>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

namespace plimbo::test {

// Spins the event loop until the future is done; false when it timed out.
template <typename T>
bool waitFor(const QFuture<T>& future,
             std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    return QTest::qWaitFor([&] { return future.isFinished(); }, static_cast<int>(timeout.count()));
}

// Reads a whole file as bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);
// Writes bytes to a file, creating parent folders; false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);
// A PNG file's bytes: a picture of `size` in one colour.
QByteArray pngBytes(QSize size, const QColor& fill);

} // namespace plimbo::test
