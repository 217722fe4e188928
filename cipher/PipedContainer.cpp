#include "cipher/PipedContainer.h"

#include <algorithm>
#include <vector>

namespace cipher {

std::error_code PipedContainer::ReadUpTo(std::uint8_t* data, std::size_t size, std::size_t& got) {
    got = 0;
    for (std::size_t count = 1; got < size && count > 0; got += count) {
        if (std::error_code ec = stream_.ReadSome(data + got, size - got, count)) return ec;
        streamed_ += count;
    }
    return {};
}

std::error_code PipedContainer::Mismatch() {
    mismatched_ = true;
    return std::make_error_code(std::errc::illegal_byte_sequence);
}

std::error_code PipedContainer::ReadHead() {
    return ReadUpTo(head_, kHeadBytes, headSize_);
}

std::error_code PipedContainer::Read(std::uint8_t* data, std::size_t size) {
    const std::size_t replayed = std::min(size, headSize_ - headRead_);
    std::copy_n(head_ + headRead_, replayed, data);
    headRead_ += replayed;
    std::size_t got = 0;
    if (std::error_code ec = ReadUpTo(data + replayed, size - replayed, got)) return ec;
    return replayed + got == size ? std::error_code() : Mismatch();
}

std::error_code PipedContainer::ConfirmEnd() {
    std::uint8_t more = 0;
    std::size_t got = 0;
    if (std::error_code ec = ReadUpTo(&more, 1, got)) return ec;
    return got == 0 ? std::error_code() : Mismatch();
}

std::error_code PipedContainer::Measure(std::uint64_t limit, std::uint64_t& total) {
    std::vector<std::uint8_t> rest(64 << 10);
    for (std::size_t got = 1; got > 0 && streamed_ <= limit;) {
        if (std::error_code ec = ReadUpTo(rest.data(), rest.size(), got)) return ec;
    }
    total = streamed_;
    return {};
}

}  // namespace cipher
