#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>

namespace fileio {

// A temporary file without a name (O_TMPFILE; where the file system has
// none, a file removed again right after it was created) in the temporary
// folder ($TMPDIR, else /tmp): written once, then read back from its start
// through the same descriptor. It disappears when closed, also when the
// process is killed.
class Spool {
public:
    Spool() = default;
    ~Spool();
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;

    std::error_code Create();
    std::error_code Write(const std::uint8_t* data, std::size_t size);
    std::uint64_t Size() const { return size_; }
    // Reads from the start on.
    std::error_code Rewind();
    // Reads exactly `size` more bytes.
    std::error_code Read(std::uint8_t* data, std::size_t size);

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// What is left to read of the regular file open on `fd`, from its current
// offset; nothing when fd is a pipe, a terminal or any other kind of file.
std::optional<std::uint64_t> RemainingInRegularFile(int fd);

}  // namespace fileio
