#include "tests/fileio/SyscallSeam.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <map>
#include <string>

extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_openat(int folder, const char* path, int flags, ...);
ssize_t __real_read(int fd, void* buffer, size_t count);
int __real_fsync(int fd);
ssize_t __real_pwrite(int fd, const void* buffer, size_t count, off_t offset);
int __real_renameat2(int from, const char* fromName, int to, const char* toName, unsigned flags);
int __real_linkat(int from, const char* fromName, int to, const char* toName, int flags);
int __real_unlinkat(int folder, const char* name, int flags);
}

namespace fileiotest::seam {

namespace {

struct State {
    std::map<std::string, std::function<void()>> beforeOpen;
    std::map<std::string, std::function<void()>> beforeRead;
    std::map<std::string, std::uint64_t> bytesRead;
    std::map<std::string, int> opens;
    std::map<int, std::string> openFiles;  // descriptor -> path it was opened at
    int fsyncError = 0;
    int folderFsyncError = 0;
    bool refuseUnnamed = false;
    std::uint64_t writesLeft = 0;
    int writeError = 0;
    bool refuseNoReplace = false, refuseLinks = false;
    int refusedRenames = 0, fsyncs = 0;
    std::function<void()> afterRename, beforeFsync, beforeUnlink;
    std::function<void(int, const char*)> beforeLink;
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

void FailNextFolderFsync(int error) {
    Seam().folderFsyncError = error;
}

void FailWritesAfter(std::uint64_t bytes, int error) {
    Seam().writesLeft = bytes;
    Seam().writeError = error;
}

void RefuseNoReplaceRename(bool hardLinks) {
    Seam().refuseNoReplace = true;
    Seam().refuseLinks = !hardLinks;
}

int RefusedRenames() {
    return Seam().refusedRenames;
}

void AfterNextRename(std::function<void()> hook) {
    Seam().afterRename = std::move(hook);
}

void BeforeNextFsync(std::function<void()> hook) {
    Seam().beforeFsync = std::move(hook);
}

void BeforeNextUnlink(std::function<void()> hook) {
    Seam().beforeUnlink = std::move(hook);
}

void BeforeNextLink(std::function<void(int folder, const char* name)> hook) {
    Seam().beforeLink = std::move(hook);
}

int FsyncCount() {
    return Seam().fsyncs;
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

}  // namespace fileiotest::seam

using fileiotest::seam::Seam;

extern "C" int __wrap_open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    const std::string key(path);
    if (auto hook = fileiotest::seam::Take(Seam().beforeOpen, key)) hook();
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
    if (auto hook = fileiotest::seam::Take(Seam().beforeRead, key)) hook();
    const ssize_t n = __real_read(fd, buffer, count);
    if (n > 0) Seam().bytesRead[key] += static_cast<std::uint64_t>(n);
    return n;
}

namespace {

// Runs a one-shot hook, cleared before it runs so that it may set the next.
void Fire(std::function<void()>& hook) {
    if (!hook) return;
    std::function<void()> once = std::move(hook);
    hook = nullptr;
    once();
}

}  // namespace

extern "C" int __wrap_fsync(int fd) {
    Fire(Seam().beforeFsync);
    struct stat st;
    if (Seam().folderFsyncError != 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = Seam().folderFsyncError;
        Seam().folderFsyncError = 0;
        return -1;
    }
    if (Seam().fsyncError != 0) {
        errno = Seam().fsyncError;
        Seam().fsyncError = 0;
        return -1;
    }
    const int done = __real_fsync(fd);
    if (done == 0) ++Seam().fsyncs;
    return done;
}

extern "C" ssize_t __wrap_pwrite(int fd, const void* buffer, size_t count, off_t offset) {
    if (Seam().writeError != 0) {
        if (Seam().writesLeft == 0) {
            errno = Seam().writeError;
            return -1;
        }
        if (count > Seam().writesLeft) count = static_cast<size_t>(Seam().writesLeft);
    }
    const ssize_t n = __real_pwrite(fd, buffer, count, offset);
    if (n > 0 && Seam().writeError != 0) Seam().writesLeft -= static_cast<std::uint64_t>(n);
    return n;
}

extern "C" int __wrap_renameat2(int from, const char* fromName, int to, const char* toName,
                                unsigned flags) {
    if ((flags & RENAME_NOREPLACE) != 0 && Seam().refuseNoReplace) {
        ++Seam().refusedRenames;
        errno = EINVAL;
        return -1;
    }
    const int done = __real_renameat2(from, fromName, to, toName, flags);
    if (done == 0) Fire(Seam().afterRename);
    return done;
}

extern "C" int __wrap_linkat(int from, const char* fromName, int to, const char* toName,
                             int flags) {
    if (Seam().refuseLinks) {
        errno = EPERM;
        return -1;
    }
    if (auto hook = std::move(Seam().beforeLink)) {
        Seam().beforeLink = nullptr;
        hook(to, toName);
    }
    return __real_linkat(from, fromName, to, toName, flags);
}

extern "C" int __wrap_unlinkat(int folder, const char* name, int flags) {
    Fire(Seam().beforeUnlink);
    return __real_unlinkat(folder, name, flags);
}
