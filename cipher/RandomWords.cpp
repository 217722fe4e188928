#include "cipher/RandomWords.h"

#include <cmath>
#include <random>

#if defined(__linux__)
#include <sys/random.h>
#endif

namespace cipher {

namespace {

std::uint32_t SystemRandom32() {
    std::uint32_t value = 0;
#if defined(__linux__)
    if (getrandom(&value, sizeof value, 0) == static_cast<ssize_t>(sizeof value)) return value;
#endif
    static std::random_device device;  // the platform's entropy source
    return static_cast<std::uint32_t>(device());
}

}  // namespace

float RandomFraction() {
    // 24 random bits over 2^24: exactly representable, below 1.
    return static_cast<float>(SystemRandom32() >> 8) / 16777216.0f;
}

std::uint32_t WordFromFraction(float r) {
    return static_cast<std::uint32_t>(std::nearbyint(static_cast<double>(r) * 2147483647.0));
}

std::uint32_t RandomWord() {
    return WordFromFraction(RandomFraction());
}

}  // namespace cipher
