#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

// A link-time seam around the system calls the engine's file store makes.
// The test executable is linked with --wrap for open, openat, read, pwrite,
// fsync, renameat2, linkat and unlinkat, so the engine's calls come here
// first; everything else passes straight through.
// Hooks fire once and are cleared by Reset().
namespace fileiotest::seam {

// Runs `hook` just before the engine opens `path`: the file has passed the
// engine's existence check but has not been opened yet.
void BeforeOpen(const std::filesystem::path& path, std::function<void()> hook);

// Runs `hook` just before the engine's first read from the file it opened
// at `path`.
void BeforeFirstRead(const std::filesystem::path& path, std::function<void()> hook);

// Makes the file system seem to have no unnamed temporary files (openat with
// O_TMPFILE fails), until Reset().
void RefuseUnnamedFiles();

// Makes the engine's next fsync fail with `error`.
void FailNextFsync(int error);

// Makes the engine's next fsync of a folder fail with `error`.
void FailNextFolderFsync(int error);

// Makes the engine's writes with pwrite fail with `error` once `bytes` more
// bytes were written, until Reset().
void FailWritesAfter(std::uint64_t bytes, int error);

// Makes the file system seem to lack the rename that refuses to replace
// (renameat2 with RENAME_NOREPLACE fails with EINVAL), and, with
// `hardLinks` false, hard links too (linkat fails with EPERM), until Reset().
void RefuseNoReplaceRename(bool hardLinks);
// Number of such renames refused since the last Reset().
int RefusedRenames();

// Hooks that fire once: just after the engine's next successful renameat2,
// just before its next fsync, and just before its next unlinkat.
void AfterNextRename(std::function<void()> hook);
void BeforeNextFsync(std::function<void()> hook);
void BeforeNextUnlink(std::function<void()> hook);
// Runs `hook` with the new name's folder and name just before the engine's
// next linkat, once.
void BeforeNextLink(std::function<void(int folder, const char* name)> hook);

// Successful fsync calls since the last Reset().
int FsyncCount();

// Bytes read from files opened at `path` since the last Reset().
std::uint64_t BytesReadFrom(const std::filesystem::path& path);

// Number of times a file at `path` was opened since the last Reset().
int OpenCount(const std::filesystem::path& path);

void Reset();

}  // namespace fileiotest::seam
