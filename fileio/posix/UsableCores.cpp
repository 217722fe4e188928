#include "fileio/UsableCores.h"

#include <sched.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>

namespace fileio {

namespace {

// The processors in the affinity mask; the hardware count if it cannot be read.
std::size_t AllowedProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return static_cast<std::size_t>(count);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// The processors' worth of time that cpu.max grants ("QUOTA PERIOD" or
// "max PERIOD"), rounded up; 0 for no limit.
std::size_t QuotaIn(const std::string& folder) {
    std::ifstream file(folder + "/cpu.max");
    std::string quota;
    long long period = 0;
    if (!(file >> quota >> period) || quota == "max" || period <= 0) return 0;
    long long granted = 0;
    try {
        granted = std::stoll(quota);
    } catch (...) {
        return 0;
    }
    if (granted <= 0) return 0;
    return static_cast<std::size_t>((granted + period - 1) / period);
}

// The smallest quota on the way from this process's control group (cgroup v2)
// up to the root; 0 for none.
std::size_t ControlGroupQuota() {
    std::ifstream membership("/proc/self/cgroup");
    std::string line, path;
    while (std::getline(membership, line)) {
        if (line.rfind("0::", 0) == 0) path = line.substr(3);
    }
    if (path.empty() || path[0] != '/') return 0;
    std::size_t lowest = 0;
    for (;;) {
        const std::size_t quota = QuotaIn("/sys/fs/cgroup" + (path == "/" ? "" : path));
        if (quota > 0 && (lowest == 0 || quota < lowest)) lowest = quota;
        if (path == "/") break;
        const std::size_t slash = path.find_last_of('/');
        path = slash == 0 ? "/" : path.substr(0, slash);
    }
    return lowest;
}

}  // namespace

std::size_t UsableCores() {
    std::size_t cores = AllowedProcessors();
    const std::size_t quota = ControlGroupQuota();
    if (quota > 0) cores = std::min(cores, quota);
    return std::max<std::size_t>(cores, 1);
}

}  // namespace fileio
