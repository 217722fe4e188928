#pragma once

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

// The contents of a folder tree, read through descriptors: every folder is
// opened relative to its parent without following a symbolic link, and
// every entry is examined where it stands, so a link inside the tree (to
// /etc, say) is reported as a link and never entered or read through.
namespace fileio {

enum class TreeEntryKind {
    File,          // a regular file
    Link,          // a symbolic link, not followed
    Special,       // a device, a pipe or a socket
    FolderFailed,  // a folder that could not be opened or read; `error` says why
};

struct TreeEntry {
    std::string path;  // the root's name, "/", the names below it; bytes as the system has them
    TreeEntryKind kind = TreeEntryKind::File;
    std::uint64_t size = 0;  // for files
    // The file's identity when it was seen, so that a file replaced before
    // its turn is recognised.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::error_code error;  // for FolderFailed
};

// Appends what lies below the folder `root` (hidden names included), folder
// by folder in name order. The root itself may be reached through a link.
// A root that cannot be opened as a folder gives its error and appends nothing.
std::error_code WalkTree(const std::string& root, std::vector<TreeEntry>& entries);

// The identity of the regular file at `path` as it stands now, without
// following a link in its last component; false when it is not a regular file.
bool RegularFileIdentity(const std::string& path, std::uint64_t& device, std::uint64_t& inode);

}  // namespace fileio
