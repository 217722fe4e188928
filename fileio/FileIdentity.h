#pragma once

#include <cstdint>

namespace fileio {

// Which file a name referred to when it was looked at: its device (volume)
// and inode (file index), so that a file replaced under the same name since
// then is told apart.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

}  // namespace fileio
