#pragma once

#include <cstdint>

namespace cipher {

// A fraction r with 0 <= r < 1 in single precision (24 significant bits),
// drawn from the operating system's random source.
float RandomFraction();

// The nearest integer (ties to even) to r * 2147483647 for a fresh r:
// a value from 0 to 2147483519.
std::uint32_t RandomWord();

// The rule above for a given fraction.
std::uint32_t WordFromFraction(float r);

}  // namespace cipher
