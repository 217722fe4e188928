#include "core/SourceWipe.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cipher/FileStore.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"

namespace {

using ByteArray = clsBlowfish::ByteArray;

// Reads a whole file; returns the system's reason on failure, else an empty text.
std::string ReadWhole(const std::u16string& text, ByteArray& bytes) {
    std::error_code ec;
    const std::filesystem::path path = filestore::ToPath(text, ec);
    if (!ec) ec = filestore::ReadWholeFile(path, bytes, 0, 0x7FFFFFFF);
    return ec ? ec.message() : std::string();
}

bool DecryptsTo(ByteArray container, const ByteArray& expected, const std::u16string& password,
                ProgressSink* progress) {
    clsBlowfish cipher(progress);
    try {
        const bool same = cipher.DecryptByte(container, password) && container == expected;
        cipher::Wipe(container);
        return same;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool MaybeSameFile(const std::u16string& first, const std::u16string& second) {
    std::error_code error;
    const std::filesystem::path a = filestore::ToPath(first, error);
    if (error) return true;
    const std::filesystem::path b = filestore::ToPath(second, error);
    if (error) return true;
    const bool same = std::filesystem::equivalent(a, b, error);
    return same || error;
}

WipeResult WipeSource(const std::u16string& source, const std::u16string& encrypted,
                      const std::u16string& password, ProgressSink* progress) {
    if (MaybeSameFile(source, encrypted)) return {WipeOutcome::SameFile, {}};
    ByteArray original, container;
    if (std::string reason = ReadWhole(source, original); !reason.empty()) {
        return {WipeOutcome::NotVerified, reason};
    }
    if (std::string reason = ReadWhole(encrypted, container); !reason.empty()) {
        cipher::Wipe(original);
        return {WipeOutcome::NotVerified, reason};
    }
    const bool verified = DecryptsTo(container, original, password, progress);
    cipher::Wipe(original);
    if (!verified) return {WipeOutcome::NotVerified, {}};
    std::error_code ec;
    const std::filesystem::path path = filestore::ToPath(source, ec);
    if (!ec) ec = filestore::OverwriteInPlace(path, container.data(), container.size());
    if (ec) return {WipeOutcome::OverwriteFailed, ec.message()};
    std::filesystem::remove(path, ec);
    if (ec) return {WipeOutcome::DeleteFailed, ec.message()};
    return {WipeOutcome::Wiped, {}};
}
