#include "tests/support/Files.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace testsupport {

ByteArray RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    ByteArray bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
    return bytes;
}

ByteArray ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    ByteArray bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

void WriteFile(const fs::path& path, const ByteArray& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

namespace {

void MakeWritable(const fs::path& folder) {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
}

}  // namespace

TempDir::TempDir() {
    // create_directory fails on a name that exists, so the folder is ours.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path path =
            fs::temp_directory_path() / ("quillbox-test-" + std::to_string(random()));
        std::error_code ec;
        if (fs::create_directory(path, ec)) path_ = path;
    }
    if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
    fs::permissions(path_, fs::perms(0755));
}

TempDir::~TempDir() {
    MakeWritable(path_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path TempDir::Folder(const std::string& name, fs::perms perms) const {
    const fs::path folder = path_ / name;
    fs::create_directories(folder);
    fs::permissions(folder, perms);
    return folder;
}

std::set<std::string> TempDir::Entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace testsupport
