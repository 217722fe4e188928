#include "tests/fileio/SyscallSeam.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <map>
#include <string>

extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_openat(int folder, const char* path, int flags, ...);
ssize_t __real_read(int fd, void* buffer, size_t count);
int __real_fsync(int fd);
}

namespace faults::seam {

namespace {

struct State {
    std::map<std::string, std::function<void()>> beforeOpen;
    std::map<std::string, std::function<void()>> beforeRead;
    std::map<std::string, std::uint64_t> bytesRead;
    std::map<std::string, int> opens;
    std::map<int, std::string> openFiles;  // descriptor -> path it was opened at
    int fsyncError = 0;
    bool refuseUnnamed = false;
};

State& Seam() {
    static State state;
    return state;
}

// Takes the hook for `key` out of `hooks`, so that it fires once.
std::function<void()> Take(std::map<std::string, std::function<void()>>& hooks,
                           const std::string& key) {
    const auto it = hooks.find(key);
    if (it == hooks.end()) return {};
    std::function<void()> hook = std::move(it->second);
    hooks.erase(it);
    return hook;
}

}  // namespace

void BeforeOpen(const std::filesystem::path& path, std::function<void()> hook) {
    Seam().beforeOpen[path.string()] = std::move(hook);
}

void BeforeFirstRead(const std::filesystem::path& path, std::function<void()> hook) {
    Seam().beforeRead[path.string()] = std::move(hook);
}

void RefuseUnnamedFiles() {
    Seam().refuseUnnamed = true;
}

void FailNextFsync(int error) {
    Seam().fsyncError = error;
}

std::uint64_t BytesReadFrom(const std::filesystem::path& path) {
    const auto it = Seam().bytesRead.find(path.string());
    return it == Seam().bytesRead.end() ? 0 : it->second;
}

int OpenCount(const std::filesystem::path& path) {
    const auto it = Seam().opens.find(path.string());
    return it == Seam().opens.end() ? 0 : it->second;
}

void Reset() {
    Seam() = State{};
}

}  // namespace faults::seam

using faults::seam::Seam;

extern "C" int __wrap_open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    const std::string key(path);
    if (auto hook = faults::seam::Take(Seam().beforeOpen, key)) hook();
    const int fd = __real_open(path, flags, mode);
    if (fd >= 0) {
        ++Seam().opens[key];
        Seam().openFiles[fd] = key;
    }
    return fd;
}

extern "C" int __wrap_openat(int folder, const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE && Seam().refuseUnnamed) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return __real_openat(folder, path, flags, mode);
}

extern "C" ssize_t __wrap_read(int fd, void* buffer, size_t count) {
    const auto file = Seam().openFiles.find(fd);
    if (file == Seam().openFiles.end()) return __real_read(fd, buffer, count);
    const std::string key = file->second;
    if (auto hook = faults::seam::Take(Seam().beforeRead, key)) hook();
    const ssize_t n = __real_read(fd, buffer, count);
    if (n > 0) Seam().bytesRead[key] += static_cast<std::uint64_t>(n);
    return n;
}

extern "C" int __wrap_fsync(int fd) {
    if (Seam().fsyncError != 0) {
        errno = Seam().fsyncError;
        Seam().fsyncError = 0;
        return -1;
    }
    return __real_fsync(fd);
}
