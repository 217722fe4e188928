#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// Whole-file input and output for the file operations.
namespace filestore {

using ByteArray = std::vector<std::uint8_t>;

// The path for a text path, in the platform's own path encoding (UTF-8 on
// Linux). Fails with an error for text that is not valid UTF-16.
std::filesystem::path ToPath(const std::u16string& text, std::error_code& ec);

// True for an existing regular file whose length can be read.
bool IsRegularFile(const std::u16string& text);

// A regular file opened for reading whole. The open never blocks (a pipe put
// in the file's place is refused), and the size is the one of the file that
// was opened.
class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    std::error_code Open(const std::filesystem::path& path);
    std::uint64_t Size() const { return size_; }
    // Reads exactly Size() bytes; a file that changed length meanwhile is
    // refused with std::errc::io_error.
    std::error_code ReadAll(std::uint8_t* data);

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The new content of a file, built in a temporary file beside it (an
// owner-only file whose name starts with ".quillbox-") and put in the
// file's place by Commit once it is complete and flushed to disk. Until
// then the destination is untouched; without Commit the temporary file is
// removed. A destination that is a symbolic link keeps pointing at its
// target, which is what gets replaced.
class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    std::error_code Create(const std::filesystem::path& destination);
    std::error_code Write(const std::uint8_t* data, std::size_t size);
    // Sizes the file (its disk space reserved, so a full disk is an error
    // here and not later) and maps it, so the content can be built in
    // place. Null on failure, with ec set.
    std::uint8_t* Map(std::size_t size, std::error_code& ec);
    std::error_code Commit();

private:
    void Unmap();

    int fd_ = -1;
    std::filesystem::path destination_;
    std::string tempName_;
    void* map_ = nullptr;
    std::size_t mapSize_ = 0;
};

// Reads the whole regular file into bytes, reserving room for `spare` more
// bytes so the caller can grow the array in place. A file longer than
// maxSize is refused with std::errc::file_too_large before anything is read.
std::error_code ReadWholeFile(const std::filesystem::path& path, ByteArray& bytes,
                              std::size_t spare, std::uint64_t maxSize);

// Replaces (or creates) the file with exactly these bytes, through a
// PendingFile.
std::error_code WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                                    std::size_t size);

// Writes bytes over the start of the file's own content (the same file, not
// a replacement) and waits until they are on disk.
std::error_code OverwriteInPlace(const std::filesystem::path& path, const std::uint8_t* data,
                                 std::size_t size);

// Prefix of the temporary files that WriteFileAtomically makes.
inline constexpr const char* kTempPrefix = ".quillbox-";

}  // namespace filestore
