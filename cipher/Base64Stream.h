#pragma once

#include <cstddef>
#include <cstdint>

// Base64 a piece at a time, for files and streams too long to hold whole:
// exactly the text clsBlowfish::EncodeArray64 writes and the bytes
// clsBlowfish::DecodeArray64 reads from a file's text, wherever the pieces
// are cut.
namespace cipher {

// Adds one 6-bit value to the group being assembled in acc (pending values
// so far); a group of four becomes three bytes at out. Returns the bytes
// written.
inline std::size_t AddBase64Value(std::uint32_t& acc, std::size_t& pending, std::uint32_t value,
                                  std::uint8_t* out) {
    acc = (acc << 6) | value;
    if (++pending < 4) return 0;
    out[0] = static_cast<std::uint8_t>(acc >> 16);
    out[1] = static_cast<std::uint8_t>(acc >> 8);
    out[2] = static_cast<std::uint8_t>(acc);
    pending = 0;
    acc = 0;
    return 3;
}

// Two or three values left over make one or two more bytes; a lone last
// value cannot carry a whole byte and is dropped. Returns the bytes written.
inline std::size_t FinishBase64Group(std::uint32_t acc, std::size_t pending, std::uint8_t* out) {
    if (pending < 2) return 0;
    acc <<= 6 * (4 - pending);
    out[0] = static_cast<std::uint8_t>(acc >> 16);
    if (pending == 3) out[1] = static_cast<std::uint8_t>(acc >> 8);
    return pending - 1;
}

// The lenient decoder over a file's bytes, each read as its code page
// character: CR, LF and "=" are skipped wherever they stand, every other
// character counts, through the low 8 bits of its code, as its alphabet
// value or as 0.
class Base64Decoder {
public:
    // The most bytes Decode writes for `size` bytes of text.
    static std::size_t Room(std::size_t size) { return size / 4 * 3 + 3; }
    // The number of bytes `characters` counted characters decode to.
    static std::uint64_t DecodedLength(std::uint64_t characters);
    // The characters among `size` bytes of text that count.
    static std::size_t Count(const std::uint8_t* text, std::size_t size);

    // Decodes the next piece of text to `out` and returns the bytes written.
    std::size_t Decode(const std::uint8_t* text, std::size_t size, std::uint8_t* out);
    // The one or two bytes that two or three last characters make (a lone
    // last character is dropped); at most 2 bytes.
    std::size_t Finish(std::uint8_t* out);
    // Characters counted so far; none at all is not Base64 text.
    std::uint64_t Characters() const { return characters_; }

private:
    std::uint32_t acc_ = 0;
    std::size_t pending_ = 0;
    std::uint64_t characters_ = 0;
};

// The encoder for `total` bytes given a piece at a time: lines of 76
// characters, each followed by CR LF when the whole text is longer than 76.
class Base64Encoder {
public:
    explicit Base64Encoder(std::uint64_t total);
    // The most bytes Encode writes for `size` bytes.
    static std::size_t Room(std::size_t size);

    std::size_t Encode(const std::uint8_t* data, std::size_t size, std::uint8_t* out);
    // The last group with its padding, and the last line's CR LF; at most 6 bytes.
    std::size_t Finish(std::uint8_t* out);

private:
    std::size_t Put(char c, std::uint8_t* out);

    bool breaks_;
    std::size_t column_ = 0;
    std::uint8_t carry_[2] = {};
    std::size_t carried_ = 0;
};

}  // namespace cipher
