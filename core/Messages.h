#pragma once

#include <optional>
#include <string>

struct FileError;
struct WipeResult;

// The sentences the user reads when an operation fails, in UTF-8, shared by
// the window program and the command-line tool.
namespace messages {

inline constexpr const char* kWrongPasswordForText =
    "Wrong password, or the text is not a valid encrypted string.";
inline constexpr const char* kNoDestination =
    "Please enter the name of the destination file in the second field.";

// What went wrong in a file operation, with the file and the system's reason.
std::string ForFile(const FileError& error);

// Text or a password holding a character that cannot be encrypted.
std::string ForUnrepresentable(char32_t character);

// What the user is told after a wipe of source, or nothing when there is
// nothing to tell.
std::optional<std::string> ForWipe(const WipeResult& result, const std::string& source);

// A failure that the operation did not classify (for example lack of memory).
std::string ForUnexpected(const char* what);

// UTF-8 for text (an unpaired surrogate becomes U+FFFD).
std::string Utf8(const std::u16string& text);

}  // namespace messages
