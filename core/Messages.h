#pragma once

#include <optional>
#include <string>
#include <vector>

struct FileError;
struct WipeResult;

// Marks a message template for the translation tools without translating it
// here: this library has no Qt. The extraction run treats it as
// QT_TRANSLATE_NOOP, so the template lands in the catalogue under its context.
#define QUILLBOX_TRANSLATE_NOOP(context, text) text

// The sentences the user reads when an operation fails, shared by the window
// program and the command-line tool. Each is a template in English with the
// placeholders %1, %2 and its arguments in UTF-8, so that a Qt caller can
// translate the template first and then fill in the arguments.
namespace messages {

// The context under which the templates are catalogued.
inline constexpr const char* kContext = "Messages";

inline constexpr const char* kWrongPasswordForText = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Wrong password, or the text is not a valid encrypted string.");
inline constexpr const char* kNoDestination = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Please enter the name of the destination file in the second field.");

struct Message {
    const char* text;               // the English template, with %1, %2 ...
    std::vector<std::string> args;  // what replaces %1, %2 ..., in UTF-8
};

// The template with %1 to %9 replaced by its arguments in one pass, so that
// a "%2" inside an argument stays as it is. Other "%" signs are kept.
std::string Render(const Message& message);

// What went wrong in a file operation, with the file and the system's reason.
Message FileMessage(const FileError& error);
std::string ForFile(const FileError& error);

// Text or a password holding a character that cannot be encrypted; the
// message shows the whole character, also one outside the 16-bit range.
Message UnrepresentableMessage(char32_t character);
std::string ForUnrepresentable(char32_t character);

// What the user is told after a wipe of source, or nothing when there is
// nothing to tell.
std::optional<Message> WipeMessage(const WipeResult& result, const std::string& source);
std::optional<std::string> ForWipe(const WipeResult& result, const std::string& source);

// A failure that the operation did not classify (for example lack of memory).
Message UnexpectedMessage(const char* what);
std::string ForUnexpected(const char* what);

// UTF-8 for text (an unpaired surrogate becomes U+FFFD).
std::string Utf8(const std::u16string& text);

}  // namespace messages
