#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace cipher {
struct FileError;
}

namespace core {

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

// The dialogue of the actions.
inline constexpr const char* kEnterPassword =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Enter password:");
inline constexpr const char* kReEnterPassword =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Re-enter password");
inline constexpr const char* kDifferentPasswords =
    QUILLBOX_TRANSLATE_NOOP("Messages", "You typed a different password.");
inline constexpr const char* kWipeOriginal = QUILLBOX_TRANSLATE_NOOP("Messages", "Wipe original?");
// Asked in interactive use before an existing file is replaced, No being the default.
inline constexpr const char* kReplaceExisting =
    QUILLBOX_TRANSLATE_NOOP("Messages", "\"%1\" already exists. Replace it?");
// The title of the password prompt: the application's name, never translated.
inline constexpr const char* kApplicationTitle = "Quillbox";
// The prompt's title when it names the file the password is for.
inline constexpr const char* kApplicationTitleFor = "Quillbox - %1";

// A source that exists but is not a regular file (a device, a pipe, a socket).
inline constexpr const char* kNotRegularFile =
    QUILLBOX_TRANSLATE_NOOP("Messages", "\"%1\" is not a regular file.");

// Input whose length shows it is no encrypted data: %1 is a quoted file
// name or "Standard input".
inline constexpr const char* kInputNotEncrypted =
    QUILLBOX_TRANSLATE_NOOP("Messages", "%1 is not an encrypted file.");

// The command-line tool's own situations.
inline constexpr const char* kUseForce =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Use --force to replace it.");
inline constexpr const char* kNameNotUtf8 =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The file name is not valid UTF-8.");
inline constexpr const char* kSameFile =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The input and the output are the same file.");
inline constexpr const char* kNoOutputName = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "No output name can be made from this name; give one with -o.");
inline constexpr const char* kNotToTerminal = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Encrypted data is not written to a terminal; use --armor or -o FILE.");
inline constexpr const char* kWrongPasswordForData = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Wrong password, or the data is not a valid encrypted file.");
inline constexpr const char* kNoBase64Data =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The data holds no Base64 text.");
inline constexpr const char* kDataTooLarge =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The data is too large to encrypt.");
// %1 is a quoted file name or "Standard input".
inline constexpr const char* kInputTooLargeToEncrypt = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "%1 is too large to encrypt (at most 2147483628 bytes fit in an encrypted file).");
inline constexpr const char* kInputTooLargeToDecrypt =
    QUILLBOX_TRANSLATE_NOOP("Messages", "%1 is too large to be an encrypted file.");
inline constexpr const char* kStandardInputUnreadable =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not read standard input: %1.");
inline constexpr const char* kStandardOutputUnwritable =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not write to standard output: %1.");
inline constexpr const char* kTextTooLong =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The text is too long.");
inline constexpr const char* kTextNotUtf8 =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The text is not valid UTF-8.");
inline constexpr const char* kTextTooLongToEncrypt =
    QUILLBOX_TRANSLATE_NOOP("Messages", "The text is too long to encrypt.");
inline constexpr const char* kTextEncodingFailed = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "There was not enough memory to encode the encrypted text as Base64.");
inline constexpr const char* kTerminalUnreadable =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not read the password from the terminal: %1");
inline constexpr const char* kOutOfMemory = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "there was not enough memory to finish; nothing more was done.");

// Stopping a running operation.
inline constexpr const char* kStopQuestion =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Stop? The output so far is discarded.");
inline constexpr const char* kStopped = QUILLBOX_TRANSLATE_NOOP("Messages", "Stopped.");

// Folders: the files of a set, each written beside its source. %1 is a name.
inline constexpr const char* kSkippedLink = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Skipped \"%1\": it is a symbolic link, and links are not followed.");
inline constexpr const char* kSkippedSpecial = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Skipped \"%1\": it is not a regular file (a device, a pipe or a socket).");
inline constexpr const char* kSkippedEncrypted = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Skipped \"%1\": its name ends in .enc, so it is taken to be encrypted already.");
// %2 is the output that is there already.
inline constexpr const char* kSkippedExisting =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Skipped \"%1\": \"%2\" already exists.");
inline constexpr const char* kSkippedChanged = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "Skipped \"%1\": it was replaced after the folder was read.");
inline constexpr const char* kNameNotText =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not use \"%1\": the name is not valid UTF-8.");
// %2 is the system's reason.
inline constexpr const char* kFolderUnreadable =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Could not read the folder \"%1\": %2.");
inline constexpr const char* kNotFileOrFolder = QUILLBOX_TRANSLATE_NOOP(
    "Messages", "\"%1\" is neither a file nor a folder, or it is not there.");
// The summary of a set: %1 done, %2 skipped, %3 failed.
inline constexpr const char* kSetEncrypted =
    QUILLBOX_TRANSLATE_NOOP("Messages", "%1 encrypted, %2 skipped, %3 failed");
inline constexpr const char* kSetDecrypted =
    QUILLBOX_TRANSLATE_NOOP("Messages", "%1 decrypted, %2 skipped, %3 failed");
// %1 is the file that was being worked on, %2 a summary as above.
inline constexpr const char* kSetStopped = QUILLBOX_TRANSLATE_NOOP(
    "Messages",
    "Stopped at \"%1\", which was left as it was; the files after it were not touched: %2");
// A dry run: %1 files, %2 skipped, %3 that cannot be done.
inline constexpr const char* kSetWouldEncrypt =
    QUILLBOX_TRANSLATE_NOOP("Messages", "%1 to encrypt, %2 skipped, %3 failed");
inline constexpr const char* kSetWouldDecrypt =
    QUILLBOX_TRANSLATE_NOOP("Messages", "%1 to decrypt, %2 skipped, %3 failed");
// The window's question before the originals of a set are wiped: %1 files.
inline constexpr const char* kWipeOriginals =
    QUILLBOX_TRANSLATE_NOOP("Messages", "Wipe the %1 originals?");
// A summary box with the names that were skipped or failed: %1 the summary,
// %2 the lines, %3 how many more there are.
inline constexpr const char* kSetDetails = QUILLBOX_TRANSLATE_NOOP("Messages", "%1.\n\n%2");
inline constexpr const char* kSetMore = QUILLBOX_TRANSLATE_NOOP("Messages", "... and %1 more.");

struct Message {
    const char* text;               // the English template, with %1, %2 ...
    std::vector<std::string> args;  // what replaces %1, %2 ..., in UTF-8
};

// Walks a template of `size` characters: `onText(from, count)` for each run
// of its own characters and `onArgument(index)` for each %1 to %9 that has
// one of `arguments` arguments. One pass, so that a "%2" inside an argument
// stays as it is; other "%" signs are kept. Works on any character type, so
// that a translated template fills in the same way.
template <class Char, class OnText, class OnArgument>
void FillPlaceholders(const Char* text, std::size_t size, std::size_t arguments, OnText onText,
                      OnArgument onArgument) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] != Char('%') || i + 1 == size || text[i + 1] < Char('1') ||
            text[i + 1] > Char('9')) {
            continue;
        }
        const auto index = static_cast<std::size_t>(text[i + 1] - Char('1'));
        if (index >= arguments) continue;
        onText(run, i - run);
        onArgument(index);
        run = ++i + 1;
    }
    onText(run, size - run);
}

// The template with %1 to %9 replaced by its arguments.
std::string Render(const Message& message);

// A message without arguments.
inline Message Plain(const char* text) {
    return {text, {}};
}

// What went wrong in a file operation, with the file and the system's reason.
Message FileMessage(const cipher::FileError& error);
std::string ForFile(const cipher::FileError& error);

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

}  // namespace messages

}  // namespace core
