#include "fileio/SystemRandom.h"

#include <random>

#if defined(__linux__)
#include <sys/random.h>
#endif

namespace fileio {

std::uint32_t SystemRandom32() {
    std::uint32_t value = 0;
#if defined(__linux__)
    if (getrandom(&value, sizeof value, 0) == static_cast<ssize_t>(sizeof value)) return value;
#endif
    static std::random_device device;  // the platform's entropy source
    return static_cast<std::uint32_t>(device());
}

}  // namespace fileio
