#include "fileio/Spool.h"

#include "fileio/Descriptors.h"

namespace fileio {

std::error_code Spool::Write(const std::uint8_t* data, std::size_t size) {
    if (std::error_code ec = WriteAll(fd_, data, size)) return ec;
    size_ += size;
    return {};
}

std::error_code Spool::Read(std::uint8_t* data, std::size_t size) {
    return ReadFull(fd_, data, size);
}

}  // namespace fileio
