#include "fileio/UsableCores.h"

#include <windows.h>

#include <bit>
#include <cstdint>

namespace fileio {

// The processors in the process's affinity mask (within its processor
// group), else all the active ones.
std::size_t UsableCores() {
    DWORD_PTR process = 0, system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0) {
        return static_cast<std::size_t>(std::popcount(static_cast<std::uint64_t>(process)));
    }
    const DWORD active = ::GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    return active > 0 ? active : 1;
}

}  // namespace fileio
