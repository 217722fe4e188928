#include "core/SourceWipe.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "cipher/clsBlowfish.h"
#include "fileio/FileStore.h"

namespace core {

namespace {

std::string ReasonOf(const std::error_code& ec) {
    return ec ? ec.message() : std::string();
}

bool Holds(fileio::SourceFile& container, fileio::SourceFile& original,
           const std::u16string& password, cipher::ProgressSink* progress, std::error_code& ec) {
    clsBlowfish cipher(progress);
    try {
        return cipher.ContainerHolds(container, original, password, ec);
    } catch (const std::exception&) {
        return false;
    }
}

// Says what became of the source after the overwrite failed. Ciphertext
// never goes back under the plaintext's name, and the file is deleted only
// when everything written over it is on disk.
WipeResult OverwriteFailure(fileio::WipeTarget& target, const std::error_code& ec) {
    if (target.Overwritten() == 0 && !target.RestoreName()) {
        return {WipeOutcome::OverwriteFailed, ec.message()};
    }
    if (target.Overwritten() > 0 && target.Flushed() && !target.Remove()) {
        return {WipeOutcome::PartlyOverwritten, ec.message()};
    }
    return {WipeOutcome::LeftAside, ec.message(), target.AsidePath().string()};
}

}  // namespace

bool MaybeSameFile(const std::u16string& first, const std::u16string& second) {
    std::error_code error;
    const std::filesystem::path a = fileio::ToPath(first, error);
    if (error) return true;
    const std::filesystem::path b = fileio::ToPath(second, error);
    if (error) return true;
    const bool same = std::filesystem::equivalent(a, b, error);
    return same || error;
}

// The source is opened once; the check, the overwrite and the delete all go
// through what was opened, and its name is taken away before anything is
// written to it.
WipeResult WipeSource(const std::u16string& source, const std::u16string& encrypted,
                      const std::u16string& password, cipher::ProgressSink* progress) {
    std::error_code ec;
    const std::filesystem::path sourcePath = fileio::ToPath(source, ec);
    if (ec) return {WipeOutcome::NotVerified, ec.message()};
    const std::filesystem::path encryptedPath = fileio::ToPath(encrypted, ec);
    if (ec) return {WipeOutcome::NotVerified, ec.message()};
    // One file under two spellings. When the comparison itself fails, the
    // checks below, made on what was opened, decide.
    if (std::filesystem::equivalent(sourcePath, encryptedPath, ec) && !ec) {
        return {WipeOutcome::SameFile, {}};
    }

    fileio::WipeTarget target;
    fileio::WipeTarget::Refusal refusal = fileio::WipeTarget::Refusal::None;
    ec = target.Open(sourcePath, refusal);
    if (refusal == fileio::WipeTarget::Refusal::SymbolicLink) {
        return {WipeOutcome::SymbolicLink, {}};
    }
    if (refusal == fileio::WipeTarget::Refusal::OtherNames) {
        return {WipeOutcome::OtherNames, {}};
    }
    if (refusal == fileio::WipeTarget::Refusal::NotAFile) {
        return {WipeOutcome::NotVerified, "it is not a regular file"};
    }
    if (ec) return {WipeOutcome::OverwriteFailed, ec.message()};

    fileio::SourceFile container;
    if ((ec = container.Open(encryptedPath))) return {WipeOutcome::NotVerified, ec.message()};
    if (container.SameFileAs(target.Content())) return {WipeOutcome::SameFile, {}};
    if (!Holds(container, target.Content(), password, progress, ec)) {
        return {WipeOutcome::NotVerified, ReasonOf(ec)};
    }

    // The encrypted file must survive a crash before the only other copy goes.
    if ((ec = container.MakeDurable(encryptedPath))) {
        return {WipeOutcome::NotDurable, ec.message(), {}};
    }

    if ((ec = target.MoveAside())) return {WipeOutcome::NotRemovable, ec.message()};
    if ((ec = target.Overwrite(container))) return OverwriteFailure(target, ec);
    if ((ec = target.Remove())) {
        return {WipeOutcome::DeleteFailed, ec.message(), target.AsidePath().string()};
    }
    return {WipeOutcome::Wiped, {}};
}

}  // namespace core
