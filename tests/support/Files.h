#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

// File fixtures and temporary folders, shared by every test folder.
namespace testsupport {

namespace fs = std::filesystem;
using ByteArray = std::vector<std::uint8_t>;

// Deterministic pseudo-random bytes.
ByteArray RandomBytes(std::size_t size, std::uint32_t seed);

// A whole file's bytes; both throw when the file cannot be read or written.
ByteArray ReadFile(const fs::path& path);
void WriteFile(const fs::path& path, const ByteArray& bytes);

// A fresh folder under the system's temporary directory that an unprivileged
// user may traverse (mode 0755). On destruction everything below it is made
// writable again and removed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& Path() const { return path_; }
    fs::path Path(const std::string& name) const { return path_ / name; }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    std::u16string U16(const std::string& name) const { return Path(name).u16string(); }
    // Creates a sub-folder with the given permissions.
    fs::path Folder(const std::string& name, fs::perms perms = fs::perms(0755)) const;

    void Write(const std::string& name, const ByteArray& bytes) const {
        WriteFile(Path(name), bytes);
    }
    ByteArray Read(const std::string& name) const { return ReadFile(Path(name)); }
    bool Exists(const std::string& name) const { return fs::exists(Path(name)); }
    // The names of the entries in the folder.
    std::set<std::string> Entries() const;

private:
    fs::path path_;
};

}  // namespace testsupport
