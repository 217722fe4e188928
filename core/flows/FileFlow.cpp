#include "core/flows/FileFlow.h"

#include <filesystem>

#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "core/SourceWipe.h"
#include "core/Utf8.h"
#include "fileio/FileStore.h"

namespace core {

namespace flows {

namespace {

cipher::FileOperation OperationOf(FileDirection direction) {
    return direction == FileDirection::Encrypt ? cipher::FileOperation::Encrypt
                                               : cipher::FileOperation::Decrypt;
}

bool IsValidName(const std::u16string& name) {
    std::error_code ec;
    fileio::ToPath(name, ec);
    return !ec;
}

Outcome NameFailure(cipher::FileFailure failure, const std::u16string& name,
                    FileDirection direction) {
    return FileFailed({failure, name, {}, OperationOf(direction)});
}

std::optional<Outcome> CheckDestination(const FileRequest& request) {
    const std::u16string& destination = request.destination;
    if (destination.empty()) return Failed(messages::Plain(messages::kNoDestination));
    if (!IsValidName(destination)) {
        return NameFailure(cipher::FileFailure::InvalidName, destination, request.direction);
    }
    if (!fileio::IsRegularFile(destination)) return std::nullopt;
    if (!request.sameFileAllowed && MaybeSameFile(request.source, destination)) {
        return Failed(messages::Plain(messages::kSameFile));
    }
    if (!request.overwrite) {
        return NameFailure(cipher::FileFailure::DestinationExists, destination, request.direction);
    }
    return std::nullopt;
}

// Only when it is certain: a doubt asks rather than replaces.
bool IsSameFile(const std::u16string& first, const std::u16string& second) {
    std::error_code ec;
    const std::filesystem::path a = fileio::ToPath(first, ec);
    if (ec) return false;
    const std::filesystem::path b = fileio::ToPath(second, ec);
    if (ec) return false;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// An existing destination is replaced without a question unless the request
// wants one; a file encrypted in place is not asked about.
bool MayReplace(FrontEnd& frontEnd, const FileRequest& request) {
    if (!request.confirmReplace || !fileio::IsRegularFile(request.destination) ||
        IsSameFile(request.source, request.destination)) {
        return true;
    }
    return frontEnd.AskYesNo({messages::kReplaceExisting, {EncodeUtf8(request.destination)}},
                             DefaultAnswer::No);
}

// What both file flows do before the work: the names, replacing the
// destination, then the password.
std::optional<Outcome> Prepare(FrontEnd& frontEnd, const FileRequest& request,
                               const PasswordPlan& plan, std::u16string& password) {
    if (std::optional<Outcome> refused = CheckNames(request)) return refused;
    if (!MayReplace(frontEnd, request)) return Declined();
    return ObtainPassword(frontEnd, plan, password);
}

}  // namespace

std::optional<Outcome> CheckSource(const FileRequest& request) {
    const std::u16string& source = request.source;
    if (!IsValidName(source)) {
        return NameFailure(cipher::FileFailure::InvalidName, source, request.direction);
    }
    if (fileio::IsFolder(source)) {
        return NameFailure(cipher::FileFailure::SourceIsFolder, source, request.direction);
    }
    if (fileio::IsRegularFile(source)) return std::nullopt;
    // A device, a pipe or a socket is explained; nothing there at all is
    // explained unless the front end ends such an action silently.
    if (IsOtherThanFile(source) || !request.sourceExists) {
        return NameFailure(cipher::FileFailure::SourceMissing, source, request.direction);
    }
    if (!request.sourceExists(source)) return Declined();
    return std::nullopt;
}

std::optional<Outcome> CheckNames(const FileRequest& request) {
    if (std::optional<Outcome> source = CheckSource(request)) return source;
    return CheckDestination(request);
}

Outcome RunFileOperation(FrontEnd& frontEnd, FileDirection direction, std::u16string& srcFile,
                         std::u16string& dstFile, std::u16string& myPass, bool overwrite,
                         bool base64, const std::optional<fileio::FileIdentity>& sourceIdentity) {
    // The busy state is over before the outcome is shown.
    const BusyScope busy(frontEnd);
    StopWatch watch(frontEnd);
    clsBlowfish cipher(&watch);
    if (sourceIdentity) cipher.ExpectSource(*sourceIdentity);
    const bool written = direction == FileDirection::Encrypt
                             ? cipher.EncryptFile(srcFile, dstFile, overwrite, myPass, base64)
                             : cipher.DecryptFile(srcFile, dstFile, overwrite, myPass, base64);
    return written ? Completed() : FileFailed(cipher.LastError());
}

Outcome EncryptFile(FrontEnd& frontEnd, const FileRequest& request, const PasswordPlan& plan,
                    std::u16string& password) {
    if (std::optional<Outcome> ended = Prepare(frontEnd, request, plan, password)) return *ended;
    std::u16string srcFile = request.source;
    std::u16string dstFile = request.destination;
    std::u16string myPass = password;
    const cipher::WipedOnExit wipeKey(myPass);
    const Outcome encrypted =
        RunFileOperation(frontEnd, FileDirection::Encrypt, srcFile, dstFile, myPass,
                         request.overwrite, request.base64, request.sourceIdentity);
    if (encrypted.ending != Ending::Completed) return encrypted;
    return OfferWipe(frontEnd, request.wipe, request.source, request.destination, password);
}

Outcome DecryptFile(FrontEnd& frontEnd, const FileRequest& request, const PasswordPlan& plan,
                    std::u16string& password) {
    if (std::optional<Outcome> ended = Prepare(frontEnd, request, plan, password)) return *ended;
    std::u16string srcFile = request.source;
    std::u16string dstFile = request.destination;
    return RunFileOperation(frontEnd, FileDirection::Decrypt, srcFile, dstFile, password,
                            request.overwrite, request.base64, request.sourceIdentity);
}

}  // namespace flows

}  // namespace core
