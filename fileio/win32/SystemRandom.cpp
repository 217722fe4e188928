#include "fileio/SystemRandom.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <cstdlib>

namespace fileio {

std::uint32_t SystemRandom32() {
    std::uint32_t value = 0;
    if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&value), sizeof value,
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        // Without the system's random source no container can be made safely.
        std::abort();
    }
    return value;
}

}  // namespace fileio
