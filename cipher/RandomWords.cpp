#include "cipher/RandomWords.h"

#include <cmath>

#include "fileio/SystemRandom.h"

namespace cipher {

float RandomFraction() {
    // 24 random bits over 2^24: exactly representable, below 1.
    return static_cast<float>(fileio::SystemRandom32() >> 8) / 16777216.0f;
}

std::uint32_t WordFromFraction(float r) {
    return static_cast<std::uint32_t>(std::nearbyint(static_cast<double>(r) * 2147483647.0));
}

std::uint32_t RandomWord() {
    return WordFromFraction(RandomFraction());
}

}  // namespace cipher
