#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/flows/FrontEnd.h"
#include "core/flows/PasswordStep.h"
#include "core/flows/WipeOffer.h"
#include "fileio/FileIdentity.h"

namespace core {

namespace flows {

enum class FileDirection { Encrypt, Decrypt };

// One file to encrypt or decrypt into another, and how.
struct FileRequest {
    FileDirection direction = FileDirection::Encrypt;
    std::u16string source;
    std::u16string destination;
    bool overwrite = true;  // an existing destination is replaced
    // With overwrite: an existing file other than the source is replaced
    // only once the user said Yes (No being the default), asked after the
    // names are checked and before the password.
    bool confirmReplace = false;
    bool base64 = false;  // the encrypted side is Base64 text instead of a raw container
    // Where an ordinary file counts as "there" (the window's wildcards): a
    // source it does not find ends the action silently. Without it a missing
    // source is reported.
    std::function<bool(const std::u16string&)> sourceExists;
    bool sameFileAllowed = true;      // encrypting a file in place is allowed
    WipePlan wipe = WipePlan::Never;  // after an encryption
    // For a file chosen before (a folder's walk): the file the source must
    // still be when the engine opens it.
    std::optional<fileio::FileIdentity> sourceIdentity;
};

// The checks that need no password, in order: usable names, a source that
// is a file (a folder, a device or a pipe is explained), a destination, not
// the source itself unless allowed, and not an existing file unless it may
// be replaced. Nothing when the action can go on.
std::optional<Outcome> CheckNames(const FileRequest& request);

// The source's part of CheckNames alone.
std::optional<Outcome> CheckSource(const FileRequest& request);

// The operation itself in the busy state, with progress: myEncrypt and
// myDecrypt. The arguments go to the engine by reference: an operation that
// was carried out (even one that failed on the way) empties them.
Outcome RunFileOperation(FrontEnd& frontEnd, FileDirection direction, std::u16string& srcFile,
                         std::u16string& dstFile, std::u16string& myPass, bool overwrite,
                         bool base64,
                         const std::optional<fileio::FileIdentity>& sourceIdentity = {});

// The whole dialogue of Encrypt file: the names checked, replacing the
// destination agreed to, the password obtained (and confirmed), the file
// encrypted, the wipe offered. The
// password stays in `password`.
Outcome EncryptFile(FrontEnd& frontEnd, const FileRequest& request, const PasswordPlan& plan,
                    std::u16string& password);

// The whole dialogue of Decrypt file. `password` itself goes to the engine,
// so a decryption that was carried out empties it.
Outcome DecryptFile(FrontEnd& frontEnd, const FileRequest& request, const PasswordPlan& plan,
                    std::u16string& password);

}  // namespace flows

}  // namespace core
