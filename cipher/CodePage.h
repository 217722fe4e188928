#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The ANSI code page: Windows-1252, with its five unassigned bytes (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) mapped to the control characters of the same
// number, so that bytes -> text -> bytes is the identity for every byte.
namespace cipher::codepage {

using ByteArray = std::vector<std::uint8_t>;

// The character that byte b stands for.
char16_t ToChar(std::uint8_t b);

// The byte for character c, or nothing when the code page cannot hold it.
std::optional<std::uint8_t> ToByte(char16_t c);

// Text to bytes, one byte per character. Throws UnrepresentableTextError for
// a character outside the code page; nothing is ever replaced by "?". The
// result has room for at least `capacity` bytes, so that it can grow to that
// size without leaving a copy behind.
ByteArray TextToBytes(std::u16string_view text, std::size_t capacity = 0);

// The first character of text that the code page cannot hold (a surrogate
// pair as one character), or nothing when every character fits.
std::optional<char32_t> FirstUnrepresentable(std::u16string_view text);

// Bytes to text, one character per byte. Never fails.
std::u16string BytesToText(const std::uint8_t* data, std::size_t size);
inline std::u16string BytesToText(const ByteArray& bytes) {
    return BytesToText(bytes.data(), bytes.size());
}

}  // namespace cipher::codepage
