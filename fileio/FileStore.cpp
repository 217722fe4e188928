#include "fileio/FileStore.h"

#include <algorithm>

// What the file store is on every platform, built on its per-platform parts.
namespace fileio {

namespace {

class StoreCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "quillbox file store"; }
    std::string message(int) const override { return "it changed while it was being read"; }
};

}  // namespace

std::error_code SourceChanged() {
    static const StoreCategory category;
    return {1, category};
}

std::error_code SourceFile::ReadAll(std::uint8_t* data) {
    if (std::error_code ec = ReadExactly(data, static_cast<std::size_t>(size_))) return ec;
    return ConfirmUnchanged();
}

bool SourceFile::SameFileAs(const SourceFile& other) const {
    return fd_ >= 0 && other.fd_ >= 0 && device_ == other.device_ && inode_ == other.inode_;
}

PendingFile::~PendingFile() {
    Discard();
}

std::error_code PendingFile::Create(const std::filesystem::path& destination, Refusal& refusal) {
    refusal = Refusal::None;
    if (std::error_code ec = Resolve(destination, refusal); ec || refusal != Refusal::None) {
        return ec;
    }
    return MakeTemporary();
}

WipeTarget::~WipeTarget() {
    // Left part-way (an error or an exception). Never deleted unflushed, and
    // never given its name back with ciphertext in it.
    if (!asideName_.empty()) {
        if (overwritten_ == 0) {
            RestoreName();
        } else if (flushed_) {
            Remove();
        }
    }
    CloseFolder();
}

std::error_code WipeTarget::Overwrite(SourceFile& from) {
    if (TerminationHold::EndRequested()) {
        RestoreName();
        return std::make_error_code(std::errc::interrupted);
    }
    if (std::error_code ec = from.Rewind()) return ec;
    constexpr std::size_t kStep = 256 << 10;
    std::vector<std::uint8_t> buffer(kStep);
    // The original's length and no more: its own blocks are rewritten, and
    // a full disk has no reason to refuse that.
    std::uint64_t left = std::min(content_.size_, from.size_);
    std::error_code ec;
    while (left > 0 && !ec) {
        const std::size_t n = left < kStep ? static_cast<std::size_t>(left) : kStep;
        ec = from.ReadExactly(buffer.data(), n);
        if (ec) break;
        flushed_ = false;
        ec = WriteInPlace(buffer.data(), n);
        left -= n;
    }
    // What was written, all of it or part, is flushed before anything else
    // happens to the file.
    if (overwritten_ > 0 && !flushed_) {
        if (std::error_code flush = FlushContent(); !flush) {
            flushed_ = true;
        } else if (!ec) {
            ec = flush;
        }
    }
    return ec;
}

// --- Whole files ---------------------------------------------------------------

std::error_code ReadWholeFile(const std::filesystem::path& path, ByteArray& bytes,
                              std::size_t spare, std::uint64_t maxSize) {
    SourceFile source;
    if (std::error_code ec = source.Open(path)) return ec;
    if (source.Size() > maxSize) return std::make_error_code(std::errc::file_too_large);
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(source.Size()) + spare);
    bytes.resize(static_cast<std::size_t>(source.Size()));
    return source.ReadAll(bytes.data());
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                                    std::size_t size, bool keepExisting) {
    PendingFile file;
    file.KeepExisting(keepExisting);
    Refusal refusal = Refusal::None;
    std::error_code ec = file.Create(path, refusal);
    if (!ec && refusal == Refusal::NotAFile) ec = std::make_error_code(std::errc::invalid_argument);
    if (!ec && refusal == Refusal::ReadOnly)
        ec = std::make_error_code(std::errc::permission_denied);
    if (!ec && refusal == Refusal::UntrustedLink)
        ec = std::make_error_code(std::errc::operation_not_permitted);
    if (!ec) ec = file.Write(data, size);
    if (!ec) ec = file.Commit();
    return ec;
}

}  // namespace fileio
