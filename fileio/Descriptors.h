#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>
#include <vector>

// Whole transfers through open file descriptors: each call retries when a
// signal interrupts it and carries on after a short read or write.
namespace fileio {

// Reads what is there, at most `size` bytes; `count` 0 means end of input.
std::error_code ReadSome(int fd, void* data, std::size_t size, std::size_t& count);

// Reads exactly `size` bytes; an earlier end of input fails with io_error.
std::error_code ReadFull(int fd, void* data, std::size_t size);

// Reads everything up to the end of input, leaving room for `spare` more
// bytes. More than `limit` bytes fail with file_too_large. The buffer grows
// by doubling, and buffers that are outgrown are wiped before they are freed.
std::error_code ReadAll(int fd, std::vector<std::uint8_t>& bytes, std::size_t spare,
                        std::uint64_t limit);

// Writes all `size` bytes.
std::error_code WriteAll(int fd, const void* data, std::size_t size);

}  // namespace fileio
