#pragma once

#include <array>
#include <cstdint>

namespace cipher {

// 18 subkeys plus four boxes of 256 words.
inline constexpr std::size_t kPiWordCount = 18 + 4 * 256;

// W(0) .. W(1041): successive 32-bit groups of the hexadecimal fraction of pi.
extern const std::array<std::uint32_t, kPiWordCount> kPiWords;

}  // namespace cipher
