#pragma once

#include "StoreFileCalls.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>

namespace plimbo::test {

// The history store's system calls, failing on request with the error a failing disk or file
// system gives: permissions cannot make them fail when the tests run as root. An error set for
// fstatat or unlinkat applies only to the entry named `failingEntry` when one is named.
class FailingStoreFileCalls : public StoreFileCalls {
public:
    std::optional<int> mkdirError;
    std::optional<int> readError;
    std::optional<int> readdirError;
    std::optional<int> fstatatError;
    std::optional<int> unlinkError;
    std::optional<int> renameNoReplaceError;
    std::optional<int> renameError;
    QByteArray failingEntry;
    // When set, the file being read ends after this many bytes, as if cut short meanwhile.
    std::optional<size_t> fileEndsAfter;

    int mkdir(const char* path, mode_t mode) const override {
        return mkdirError ? fail(*mkdirError) : StoreFileCalls::mkdir(path, mode);
    }
    ssize_t read(int descriptor, void* buffer, size_t size) const override {
        if (readError) {
            return fail(*readError);
        }
        if (!fileEndsAfter) {
            return StoreFileCalls::read(descriptor, buffer, size);
        }
        const std::lock_guard lock(m_mutex);
        const size_t left = *fileEndsAfter > m_read ? *fileEndsAfter - m_read : 0;
        const ssize_t count = StoreFileCalls::read(descriptor, buffer, std::min(size, left));
        m_read += count > 0 ? size_t(count) : 0;
        return count;
    }
    dirent* readdir(DIR* directory) const override {
        if (readdirError) {
            errno = *readdirError;
            return nullptr;
        }
        return StoreFileCalls::readdir(directory);
    }
    int fstatat(int folder, const char* name, struct stat* info, int flags) const override {
        return fstatatError && matches(name) ? fail(*fstatatError)
                                             : StoreFileCalls::fstatat(folder, name, info, flags);
    }
    int unlinkat(int folder, const char* name, int flags) const override {
        return unlinkError && matches(name) ? fail(*unlinkError)
                                            : StoreFileCalls::unlinkat(folder, name, flags);
    }
    int renameNoReplace(const char* from, const char* to) const override {
        return renameNoReplaceError ? fail(*renameNoReplaceError)
                                    : StoreFileCalls::renameNoReplace(from, to);
    }
    int rename(const char* from, const char* to) const override {
        return renameError ? fail(*renameError) : StoreFileCalls::rename(from, to);
    }

private:
    static int fail(int error) {
        errno = error;
        return -1;
    }
    bool matches(const char* name) const {
        return failingEntry.isEmpty() || failingEntry == QByteArray(name);
    }

    mutable std::mutex m_mutex;
    mutable size_t m_read = 0;
};

} // namespace plimbo::test
