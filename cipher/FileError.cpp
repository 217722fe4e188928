#include "cipher/FileError.h"

#include <filesystem>

namespace {

// UTF-8 for a path; a character that cannot be shown (an undecodable byte
// of a command line) becomes U+FFFD.
std::string Utf8(const std::u16string& text) {
    std::u16string shown = text;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const bool high = shown[i] >= 0xD800 && shown[i] < 0xDC00;
        const bool low = shown[i] >= 0xDC00 && shown[i] < 0xE000;
        const bool pairs =
            high && i + 1 < shown.size() && shown[i + 1] >= 0xDC00 && shown[i + 1] < 0xE000;
        if (pairs) {
            ++i;
        } else if (high || low) {
            shown[i] = 0xFFFD;
        }
    }
    const std::u8string s = std::filesystem::path(shown).u8string();
    return std::string(s.begin(), s.end());
}

}  // namespace

std::string FileError::Message() const {
    std::string file = "\"";
    file.append(Utf8(path)).append("\"");
    std::string reason;
    if (code) reason.append(": ").append(code.message());
    switch (failure) {
        case FileFailure::None:
            return "The operation completed.";
        case FileFailure::SourceMissing:
            return "The file " + file + " does not exist.";
        case FileFailure::DestinationExists:
            return "The file " + file + " already exists.";
        case FileFailure::SourceUnreadable:
            return "Could not read " + file + reason + ".";
        case FileFailure::SourceIsFolder:
            return file + " is a folder, not a file. Choose a file to " +
                   (operation == FileOperation::Encrypt ? "encrypt." : "decrypt.");
        case FileFailure::InvalidName:
            return "The name " + file + " is not a valid file name on this system.";
        case FileFailure::SourceTooLarge:
            if (operation == FileOperation::Decrypt) {
                return "The file " + file +
                       " is too large to be an encrypted file (those are at most 2147483647 "
                       "bytes long).";
            }
            return "The file " + file +
                   " is too large to encrypt (at most 2147483628 bytes fit in an encrypted file).";
        case FileFailure::DestinationUnwritable:
            return "Could not write " + file + reason + ".";
        case FileFailure::DestinationNotAFile:
            return "Could not write " + file +
                   ": it is not a regular file (a device, a pipe or a socket). It was left as it "
                   "is.";
        case FileFailure::DestinationReadOnly:
            return file + " is read-only. It was left as it is.";
        case FileFailure::DestinationUntrustedLink:
            return "Could not write " + file +
                   ": it is a symbolic link that belongs to another user in a shared folder, "
                   "and Quillbox does not follow such links.";
        case FileFailure::WrongPassword:
            return "Wrong password, or the file is not a valid encrypted file.";
        case FileFailure::InvalidBase64:
            return "The file " + file + " holds no Base64 text.";
        case FileFailure::UnrepresentableKey:
            return "The password holds a character that Quillbox cannot use "
                   "(only characters of the Windows-1252 code page are allowed).";
        case FileFailure::Base64EncodingFailed:
            return "Could not write " + file +
                   ": there was not enough memory to encode the encrypted data as Base64 text.";
    }
    return "Unknown failure.";
}
