#include "fileio/TreeWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace fileio {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// An open folder, closed when the walk leaves it.
class Folder {
public:
    explicit Folder(int fd) : dir_(fd < 0 ? nullptr : ::fdopendir(fd)) {
        if (fd >= 0 && dir_ == nullptr) ::close(fd);
    }
    ~Folder() {
        if (dir_ != nullptr) ::closedir(dir_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    bool IsOpen() const { return dir_ != nullptr; }
    int Descriptor() const { return ::dirfd(dir_); }

    // The names in the folder but "." and "..", sorted.
    std::error_code Names(std::vector<std::string>& names) {
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir_);
            if (entry == nullptr) break;
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        if (errno != 0) return LastError();
        std::sort(names.begin(), names.end());
        return {};
    }

private:
    DIR* dir_;
};

TreeEntry Entry(std::string path, TreeEntryKind kind, const struct stat* st = nullptr) {
    TreeEntry entry;
    entry.path = std::move(path);
    entry.kind = kind;
    if (st != nullptr) {
        entry.size = static_cast<std::uint64_t>(st->st_size);
        entry.device = static_cast<std::uint64_t>(st->st_dev);
        entry.inode = static_cast<std::uint64_t>(st->st_ino);
    }
    return entry;
}

void Walk(Folder& folder, const std::string& path, std::vector<TreeEntry>& entries) {
    std::vector<std::string> names;
    if (const std::error_code ec = folder.Names(names)) {
        TreeEntry failed = Entry(path, TreeEntryKind::FolderFailed);
        failed.error = ec;
        entries.push_back(std::move(failed));
    }
    for (const std::string& name : names) {
        const std::string child = path + "/" + name;
        struct stat st {};
        if (::fstatat(folder.Descriptor(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone since the folder was read
        }
        if (S_ISREG(st.st_mode)) {
            entries.push_back(Entry(child, TreeEntryKind::File, &st));
        } else if (S_ISLNK(st.st_mode)) {
            entries.push_back(Entry(child, TreeEntryKind::Link));
        } else if (!S_ISDIR(st.st_mode)) {
            entries.push_back(Entry(child, TreeEntryKind::Special));
        } else {
            // O_NOFOLLOW: a folder swapped for a link since fstatat is refused.
            Folder sub(::openat(folder.Descriptor(), name.c_str(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
            if (!sub.IsOpen()) {
                TreeEntry failed =
                    Entry(child, errno == ELOOP || errno == ENOTDIR ? TreeEntryKind::Link
                                                                    : TreeEntryKind::FolderFailed);
                failed.error = LastError();
                entries.push_back(std::move(failed));
                continue;
            }
            Walk(sub, child, entries);
        }
    }
}

}  // namespace

std::error_code WalkTree(const std::string& root, std::vector<TreeEntry>& entries) {
    Folder folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    if (!folder.IsOpen()) return LastError();
    // "dir/" and "dir" name the same entries.
    std::string path = root;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    Walk(folder, path == "/" ? std::string() : path, entries);
    return {};
}

bool RegularFileIdentity(const std::string& path, std::uint64_t& device, std::uint64_t& inode) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    device = static_cast<std::uint64_t>(st.st_dev);
    inode = static_cast<std::uint64_t>(st.st_ino);
    return true;
}

}  // namespace fileio
