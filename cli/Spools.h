#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <system_error>
#include <vector>

#include "cipher/ByteStreams.h"
#include "cli/SpoolStream.h"
#include "fileio/Spool.h"

// Streams of unknown length made into sources of known length by keeping
// them in an unnamed temporary file first. Ciphertext is kept as it is;
// plain data only enciphered, under a key that never leaves this process's
// memory.
namespace cli {

// Reads what is there, at most `size` bytes; `count` 0 at the end.
using ReadSome =
    std::function<std::error_code(std::uint8_t* data, std::size_t size, std::size_t& count)>;

// A container (raw, or decoded from Base64 text on the way in).
class CiphertextSpool final : public cipher::ByteSource {
public:
    // Reads to the end; more than `limit` bytes read fail with
    // file_too_large, text with nothing to decode with invalid_argument.
    std::error_code Fill(const ReadSome& read, bool base64, std::uint64_t limit);
    std::uint64_t Size() const override { return spool_.Size(); }
    std::error_code Read(std::uint8_t* data, std::size_t size) override {
        return spool_.Read(data, size);
    }

private:
    fileio::Spool spool_;
};

// Plain data, kept on disk enciphered with a stream cipher under a random key
// and nonce that live only in this object, and read back deciphered.
class SealedSpool final : public cipher::ByteSource {
public:
    SealedSpool();
    ~SealedSpool() override;
    SealedSpool(const SealedSpool&) = delete;
    SealedSpool& operator=(const SealedSpool&) = delete;

    // Reads to the end; more than `limit` bytes fail with file_too_large.
    std::error_code Fill(const ReadSome& read, std::uint64_t limit);
    std::uint64_t Size() const override { return spool_.Size(); }
    std::error_code Read(std::uint8_t* data, std::size_t size) override;

private:
    fileio::Spool spool_;
    std::vector<std::uint8_t> key_;
    std::unique_ptr<SpoolStream> in_, out_;
};

}  // namespace cli
