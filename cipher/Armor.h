#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

// How many leading bytes LooksLikeBase64 looks at.
inline constexpr std::size_t kArmorProbe = 64;

// Whether encrypted data that begins with these bytes is armored (Base64
// text) rather than a raw container. Armored text holds only the Base64
// alphabet, "=" and line breaks (CR, LF); a raw container is random bytes.
// The rule: at least one byte, and the first kArmorProbe bytes (all of them
// when there are fewer) are each one of those 66 characters. A raw container
// passes with odds of (66/256)^64, about 10^-37, and the shortest one (16
// bytes) with about 4 in 10^10. Give it the start of the data (at least
// kArmorProbe bytes when there are that many).
bool LooksLikeBase64(const std::uint8_t* data, std::size_t size);

}  // namespace cipher
