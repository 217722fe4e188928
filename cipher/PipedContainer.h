#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "cipher/ByteStreams.h"

namespace cipher {

// A container read from a stream whose length is not known up front. Its
// first two blocks are read on their own, so that the length can be taken
// from the size descriptor they hold; from then on it is a source of that
// length, which fails, Mismatched(), when the stream ends before it or goes
// on after it.
class PipedContainer final : public ByteSource {
public:
    static constexpr std::size_t kHeadBytes = 16;

    explicit PipedContainer(ByteStream& stream) : stream_(stream) {}

    // Reads the first kHeadBytes bytes, or all there are when fewer.
    std::error_code ReadHead();
    const std::uint8_t* Head() const { return head_; }
    std::size_t HeadSize() const { return headSize_; }

    void SetSize(std::uint64_t size) { size_ = size; }
    std::uint64_t Size() const override { return size_; }
    std::error_code Read(std::uint8_t* data, std::size_t size) override;
    std::error_code ConfirmEnd() override;
    bool Mismatched() const { return mismatched_; }

    // Reads on to the end to count the stream's whole length; stops once it
    // passes `limit`.
    std::error_code Measure(std::uint64_t limit, std::uint64_t& total);

private:
    std::error_code ReadUpTo(std::uint8_t* data, std::size_t size, std::size_t& got);
    std::error_code Mismatch();

    ByteStream& stream_;
    std::uint8_t head_[kHeadBytes] = {};
    std::size_t headSize_ = 0, headRead_ = 0;
    std::uint64_t size_ = 0, streamed_ = 0;
    bool mismatched_ = false;
};

}  // namespace cipher
