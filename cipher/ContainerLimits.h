#pragma once

#include <cstddef>
#include <cstdint>

// The sizes an encrypted file can have, for everything that reads one or
// writes one.
namespace cipher::container {

// The most data one container can hold.
inline constexpr std::uint64_t kMaxData = 2147483628;
// The longest container.
inline constexpr std::uint64_t kMaxSize = 0x7FFFFFFF;
// A container is up to this many bytes longer than its data.
inline constexpr std::size_t kOverhead = 19;
// Whether a container can be N bytes long: whole 8-byte blocks, at least the
// random block and the one holding the size descriptor. Any other length
// shows without the key that the bytes are no container.
inline constexpr bool IsContainerLength(std::uint64_t N) {
    return N >= 16 && N % 8 == 0 && N <= kMaxSize;
}
// The longest container as Base64 text in lines of 76 characters.
inline constexpr std::uint64_t kMaxBase64 = (kMaxSize + 2) / 3 * 4 / 76 * 78 + 78;

}  // namespace cipher::container
