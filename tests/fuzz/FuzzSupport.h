#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Shared by the fuzz targets: turning the fuzzer's bytes into text, and
// stopping loudly when a property does not hold.
namespace fuzzsupport {

using Bytes = std::vector<std::uint8_t>;

// The first byte picks how the rest becomes text: even, one character per
// byte (the usual case); odd, one character per pair of bytes, little-endian,
// to reach characters above 255.
inline std::u16string TextFromInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    if (size == 0) return text;
    const bool wide = (data[0] & 1) != 0;
    if (!wide) {
        for (std::size_t i = 1; i < size; ++i) text.push_back(data[i]);
    } else {
        for (std::size_t i = 1; i + 1 < size; i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
    }
    return text;
}

// Aborts (which the fuzzer records as a crash, with the input) when a
// property fails.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

// The signed little-endian word at bytes 8 to 11: a container's size field.
inline std::int32_t SizeField(const Bytes& container) {
    std::uint32_t d = 0;
    for (int i = 11; i >= 8; --i) d = (d << 8) | container[static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(d);
}

// Whether a container of `length` bytes can carry `recorded` data bytes.
inline bool FitsLength(std::int64_t recorded, std::size_t length) {
    const auto n = static_cast<std::int64_t>(length);
    return recorded >= 0 && n - recorded >= 12 && n - recorded <= 19;
}

}  // namespace fuzzsupport
