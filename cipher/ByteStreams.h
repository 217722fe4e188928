#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

// Where the engine's streamed operations read from and write to, besides
// files: a spool of standard input, standard output.
namespace cipher {

// Bytes of a length known up front, read from the start in order.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `size` more bytes; a source that ends early fails.
    virtual std::error_code Read(std::uint8_t* data, std::size_t size) = 0;
};

// Bytes written out in order.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual std::error_code Write(const std::uint8_t* data, std::size_t size) = 0;
};

}  // namespace cipher
