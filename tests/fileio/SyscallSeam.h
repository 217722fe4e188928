#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

// A link-time seam around the system calls the engine's file store makes.
// The test executable is linked with --wrap for open, openat, read and fsync, so the
// engine's calls come here first; everything else passes straight through.
// Hooks fire once and are cleared by Reset().
namespace faults::seam {

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

// Bytes read from files opened at `path` since the last Reset().
std::uint64_t BytesReadFrom(const std::filesystem::path& path);

// Number of times a file at `path` was opened since the last Reset().
int OpenCount(const std::filesystem::path& path);

void Reset();

}  // namespace faults::seam
