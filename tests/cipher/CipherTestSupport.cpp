#include "tests/cipher/CipherTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "tests/cipher/TestAccess.h"

namespace testsupport {

namespace fs = std::filesystem;

ByteArray FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) throw std::invalid_argument("odd number of hex digits");
    ByteArray bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

ByteArray RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    ByteArray bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
    return bytes;
}

ByteArray Bytes(std::string_view text) {
    return ByteArray(text.begin(), text.end());
}

std::uint32_t ReadBigEndian(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

void WriteBigEndian(std::uint8_t* p, std::uint32_t w) {
    p[0] = static_cast<std::uint8_t>(w >> 24);
    p[1] = static_cast<std::uint8_t>(w >> 16);
    p[2] = static_cast<std::uint8_t>(w >> 8);
    p[3] = static_cast<std::uint8_t>(w);
}

namespace {
void WriteLittleEndian(std::uint8_t* p, std::uint32_t w) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(w >> (8 * i));
}
}  // namespace

ByteArray PlainContainer(std::uint32_t word1, std::uint32_t word2, std::int32_t sizeDescriptor,
                         const ByteArray& data, std::size_t total) {
    ByteArray container(total, 0);
    WriteLittleEndian(&container[0], word1);
    WriteLittleEndian(&container[4], word2);
    WriteLittleEndian(&container[8], static_cast<std::uint32_t>(sizeDescriptor));
    std::copy(data.begin(), data.end(), container.begin() + 12);
    return container;
}

ByteArray ChainEncrypt(const clsBlowfish& cipher, ByteArray plain) {
    std::uint32_t cL = 0, cR = 0;
    for (std::size_t o = 0; o + 8 <= plain.size(); o += 8) {
        std::uint32_t L = ReadBigEndian(&plain[o]) ^ cL;
        std::uint32_t R = ReadBigEndian(&plain[o + 4]) ^ cR;
        clsBlowfishTestAccess::EncryptBlock(cipher, L, R);
        WriteBigEndian(&plain[o], L);
        WriteBigEndian(&plain[o + 4], R);
        cL = L;
        cR = R;
    }
    return plain;
}

ByteArray ChainDecrypt(const clsBlowfish& cipher, ByteArray container) {
    std::uint32_t cL = 0, cR = 0;
    for (std::size_t o = 0; o + 8 <= container.size(); o += 8) {
        const std::uint32_t xL = ReadBigEndian(&container[o]);
        const std::uint32_t xR = ReadBigEndian(&container[o + 4]);
        std::uint32_t L = xL, R = xR;
        clsBlowfishTestAccess::DecryptBlock(cipher, L, R);
        WriteBigEndian(&container[o], L ^ cL);
        WriteBigEndian(&container[o + 4], R ^ cR);
        cL = xL;
        cR = xR;
    }
    return container;
}

std::vector<std::int32_t> ExpectedProgress(std::size_t total, std::size_t blocks, bool finished) {
    std::vector<std::int32_t> reports;
    double threshold = 0;
    for (std::size_t block = 0; block < blocks; ++block) {
        const double offset = static_cast<double>(block * 8);
        if (offset < threshold) continue;
        const auto percentage =
            static_cast<std::int32_t>(offset / static_cast<double>(total) * 100.0);
        threshold = std::nearbyint((percentage + 1) / 100.0 * static_cast<double>(total) + 1);
        reports.push_back(percentage);
    }
    if (finished && (reports.empty() || reports.back() != 100)) reports.push_back(100);
    return reports;
}

void RecordingSink::Progress(std::int32_t& Percent) {
    reported.push_back(Percent);
    if (adjust) adjust(Percent);
}

void RecordingSink::SetStatusText(const std::u16string& text) {
    if (!texts.empty() && pumps == pumpsAtLastText) pumpedAfterEveryText = false;
    texts.push_back(text);
    pumpsAtLastText = pumps;
}

TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path path =
            fs::temp_directory_path() / ("quillbox-test-" + std::to_string(random()));
        std::error_code ec;
        if (fs::create_directory(path, ec)) {
            fs::permissions(path, fs::perms::owner_all, ec);
            path_ = path;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempDir::Write(const std::string& name, const ByteArray& bytes) const {
    std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + name);
}

ByteArray TempDir::Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + name);
    return ByteArray(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempDir::Exists(const std::string& name) const {
    return fs::exists(Path(name));
}

std::set<std::string> TempDir::Entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace testsupport
