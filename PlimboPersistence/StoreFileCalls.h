#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace plimbo {

// The system calls through which the chat history store creates folders, reads the history,
// lists, inspects and deletes attachment files and moves files aside. The real ones by
// default; tests hand in a subclass that fails some of them the way a full or failing disk, a
// file that changes while read, or a file system without RENAME_NOREPLACE would, which works
// where permissions cannot make a call fail (tests run as root).
class StoreFileCalls {
public:
    virtual ~StoreFileCalls() = default;

    virtual int mkdir(const char* path, mode_t mode) const;
    virtual ssize_t read(int descriptor, void* buffer, size_t size) const;
    virtual dirent* readdir(DIR* directory) const;
    virtual int fstatat(int folder, const char* name, struct stat* info, int flags) const;
    virtual int unlinkat(int folder, const char* name, int flags) const;
    // renameat2() with RENAME_NOREPLACE between two paths.
    virtual int renameNoReplace(const char* from, const char* to) const;
    virtual int rename(const char* from, const char* to) const;
};

} // namespace plimbo
