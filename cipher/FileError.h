#pragma once

#include <string>
#include <system_error>

namespace cipher {

// Why a file operation of clsBlowfish returned false.
enum class FileFailure {
    None,                      // the operation completed
    SourceMissing,             // declined: the source is not an existing regular file
    SourceIsFolder,            // declined: the source is a folder
    InvalidName,               // declined: a name that is not valid in the system's path encoding
    DestinationExists,         // declined: the destination exists and Overwrite is false
    SourceUnreadable,          // the source could not be opened or read
    SourceChanged,             // the source grew, shrank or was written to while it was read
    SourceTooLarge,            // the source cannot fit in a container (2^31 - 1 bytes)
    DestinationUnwritable,     // the destination could not be written or replaced
    DestinationNotAFile,       // the destination is a device, a pipe or a socket
    DestinationReadOnly,       // the destination is a read-only file
    DestinationUntrustedLink,  // a symbolic link planted by someone else in a shared folder
    WrongPassword,             // the container's size descriptor did not match
    NotEncryptedFile,          // the length alone shows the source holds no container
    InvalidBase64,             // Base64 text with nothing to decode
    UnrepresentableKey,        // the password holds a character outside the code page
    Base64EncodingFailed,      // the container could not be encoded as Base64 text
    Stopped,                   // the progress sink asked to stop; nothing was written
};

enum class FileOperation { Encrypt, Decrypt };

struct FileError {
    FileFailure failure = FileFailure::None;
    std::u16string path;                               // the file concerned, when there is one
    std::error_code code;                              // the system's reason for an I/O failure
    FileOperation operation = FileOperation::Encrypt;  // what was being done, for the wording

    bool Failed() const { return failure != FileFailure::None; }
};

// The sentence the user reads for a FileError is worded in one place, with
// the other failure messages: core::messages::ForFile in core/Messages.h.

}  // namespace cipher
