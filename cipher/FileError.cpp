#include "cipher/FileError.h"

#include <filesystem>

namespace {

std::string Utf8(const std::u16string& text) {
    try {
        const std::u8string s = std::filesystem::path(text).u8string();
        return std::string(s.begin(), s.end());
    } catch (const std::exception&) {
        return "(unreadable file name)";
    }
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
        case FileFailure::SourceTooLarge:
            return "The file " + file +
                   " is too large to encrypt (at most 2147483628 bytes fit in an encrypted file).";
        case FileFailure::DestinationUnwritable:
            return "Could not write " + file + reason + ".";
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
