#include "StoreFileCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace plimbo {

int StoreFileCalls::mkdir(const char* path, mode_t mode) const {
    return ::mkdir(path, mode);
}

ssize_t StoreFileCalls::read(int descriptor, void* buffer, size_t size) const {
    return ::read(descriptor, buffer, size);
}

dirent* StoreFileCalls::readdir(DIR* directory) const {
    return ::readdir(directory);
}

int StoreFileCalls::fstatat(int folder, const char* name, struct stat* info, int flags) const {
    return ::fstatat(folder, name, info, flags);
}

int StoreFileCalls::unlinkat(int folder, const char* name, int flags) const {
    return ::unlinkat(folder, name, flags);
}

int StoreFileCalls::renameNoReplace(const char* from, const char* to) const {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int StoreFileCalls::rename(const char* from, const char* to) const {
    return ::rename(from, to);
}

} // namespace plimbo
