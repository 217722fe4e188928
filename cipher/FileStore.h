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

// Reads the whole regular file into bytes, reserving room for `spare` more
// bytes so the caller can grow the array in place. A file longer than
// maxSize is refused with std::errc::file_too_large before anything is read.
std::error_code ReadWholeFile(const std::filesystem::path& path, ByteArray& bytes,
                              std::size_t spare, std::uint64_t maxSize);

// Replaces (or creates) the file with exactly these bytes. The bytes go to a
// temporary file beside it first (an owner-only file whose name starts with
// ".quillbox-"), which is flushed to disk and then renamed over the
// destination: the destination is either left as it was or complete.
std::error_code WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                                    std::size_t size);

// Prefix of the temporary files that WriteFileAtomically makes.
inline constexpr const char* kTempPrefix = ".quillbox-";

}  // namespace filestore
